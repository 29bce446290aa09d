#pragma once

#include <stdexcept>
#include <string>

namespace forms {

// What went wrong, as the user is told it.
enum class ErrorKind {
    Unknown,
    InvalidCall,
    Overflow,
    TypeMismatch,
    InvalidPropertyValue,
    ObjectNotSet,
    InvalidPicture,
    ClipboardBusy,
    // Reading stored forms and their files.
    FileNotFound,
    NotARegularFile,
    OutsideFolder,
    FileAccess,
    FileTooLarge,
    BadFileFormat,
    GivenTwice,
};

// The user's (Russian) wording of a kind, in lower case, to go inside a sentence.
std::u16string russianPhrase(ErrorKind kind);

// A run-time error of an event handler or property accessor: it ends the handler that raised
// it and is reported by the application object instead of crossing the event loop. It carries an
// English detail for standard error and a Russian sentence for the message box.
class RuntimeError : public std::runtime_error {
public:
    // The detail starts with the error's English name ("Overflow", "Type mismatch: ..."), which
    // gives its kind; the throw sites that name a classic run-time error stay as they are.
    explicit RuntimeError(const std::u16string& detail);
    RuntimeError(ErrorKind kind, const std::u16string& detail);

    ErrorKind kind() const { return m_kind; }
    // The English detail.
    std::u16string message() const { return m_message; }
    // What the message box shows: a Russian sentence.
    virtual std::u16string userMessage() const;

private:
    ErrorKind m_kind;
    std::u16string m_message;
};

} // namespace forms
