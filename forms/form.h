#pragma once

#include <QMainWindow>
#include <initializer_list>

namespace forms {

// A window: a QMainWindow with a fixed-size client area (the central widget) below its menu bar.
// Create forms with new: unloading one (Unload() or its close box) deletes it later.
class Form : public QMainWindow {
    Q_OBJECT

public:
    enum class BorderStyle {
        FixedSingle, // fixed size, title bar with close box only (no minimize, no maximize)
        FixedDialog  // fixed size dialog frame, not in the taskbar
    };

    explicit Form(QWidget* parent = nullptr);

    // Runs Form_Load the first time; later calls do nothing.
    void Load();
    bool isLoaded() const { return m_loaded; }

    // Loads if needed, then shows the window modeless, without owner, and activates it. The first
    // time it is centred on the screen frame included; the frame is only known once the window
    // is on the screen, so the centring is done again when it is first exposed.
    void Show();

    // Closes the window (Form_Unload runs once) and deletes it later; safe from its own handlers.
    void Unload();

    // Sets the window state to minimized (also for a window without a minimize button).
    void Minimize();

    // Client area below the menu bar, in twips; the central widget gets exactly that pixel size
    // and the window keeps a fixed size around it.
    void setClientSizeTwips(int width, int height);

    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

    // The client area: parent of the window's controls, (0, 0) at its top left for placeTwips.
    QWidget* client() const { return m_client; }

    // Sets the Tab order of the controls, first to last. A control made of several widgets (a text
    // box with its scroll bars) is kept together, so Shift+Tab walks back exactly as Tab walks on.
    static void setTabOrder(std::initializer_list<QWidget*> controls);

    // Opens the menu bar for the keyboard, its first menu highlighted (what F10 and Alt do).
    void activateMenuBar();

protected:
    virtual void Form_Load() {}
    // Raised when another window of this application becomes active after this one; not when
    // the user switches to another application.
    virtual void Form_Deactivate() {}
    virtual void Form_Unload() {}

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void centreOnScreen();
    void setUpMenuKeys();
    void centreOnceFrameKnown(int triesLeft);
    void scheduleActivationCheck();
    void checkActivation();

    QWidget* m_client = nullptr;
    BorderStyle m_borderStyle = BorderStyle::FixedSingle;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_centred = false;
    bool m_wasActive = false;
    bool m_checkPending = false;
    bool m_menuKeysReady = false;
};

} // namespace forms
