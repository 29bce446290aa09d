#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace forms {

// The handlers of one event, called in the order they were connected. Arguments go by reference,
// so that a handler may change them for the code that raised the event.
template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args&...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    ~Event() { *m_alive = false; }

    void connect(Handler handler) {
        m_handlers.push_back(std::make_shared<const Handler>(std::move(handler)));
    }
    bool connected() const { return !m_handlers.empty(); }

    // A handler may connect another (it is called from the next raise on) or destroy the object
    // that owns the event; then the handlers after it are not called.
    void raise(Args&... args) const {
        const auto alive = m_alive;
        const auto handlers = m_handlers;
        for (const auto& handler : handlers) {
            (*handler)(args...);
            if (!*alive)
                return;
        }
    }
    void operator()(Args&... args) const { raise(args...); }

private:
    std::vector<std::shared_ptr<const Handler>> m_handlers;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// Owned by an object whose event handlers may destroy it; code that raised an event asks an Alive
// taken before whether the object is still there.
class Lifetime {
public:
    Lifetime() = default;
    Lifetime(const Lifetime&) {}
    Lifetime& operator=(const Lifetime&) { return *this; }

    std::weak_ptr<const char> token() const { return m_token; }

private:
    std::shared_ptr<const char> m_token = std::make_shared<const char>('\0');
};

class Alive {
public:
    explicit Alive(const Lifetime& lifetime) : m_token(lifetime.token()) {}
    explicit operator bool() const { return !m_token.expired(); }

private:
    std::weak_ptr<const char> m_token;
};

// Processes the application's pending events; callers check an Alive afterwards.
void DoEvents();

} // namespace forms
