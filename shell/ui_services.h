// Everything that would block on the user goes through this interface: message boxes,
// file dialogs and modal windows. The program uses the Qt implementation; tests answer
// without blocking.
#ifndef ORVANE_SHELL_UI_SERVICES_H
#define ORVANE_SHELL_UI_SERVICES_H

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace orvane {

// A window as the core passes it around without knowing its type: the address of the whole
// window object, whichever of its classes the pointer was typed as. Any window pointer
// (`this` in a window's handler) converts to it; the Qt implementation turns it back into
// the widget. Windows derive from their widget class first, as Qt requires of its object
// classes, so the widget sits at the object's address.
class WindowHandle {
public:
    WindowHandle() = default;
    WindowHandle(std::nullptr_t) {} // NOLINT: converts implicitly
    // Windows are objects with virtual functions; this keeps texts and buffers out.
    template <class Window>
    requires std::is_polymorphic_v<Window> WindowHandle(Window* window)
        : window_(dynamic_cast<const void*>(window)) {} // NOLINT: converts implicitly
    const void* address() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

private:
    const void* window_ = nullptr;
};

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    std::string text;  // UTF-8; CR LF line ends allowed
    std::string title; // empty: the program's default caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // Captions of the Yes, No and Cancel buttons, in that order, where a question names its
    // choices ("Discard", "Go Back"); missing or empty: the standard caption.
    std::vector<std::string> buttonTexts = {};
};

struct FileDialogRequest {
    std::string title;
    std::string filter; // Qt filter text, e.g. "Orvane Setting File (*.orv)"
    std::string directory;
    // Save dialogs only: ask before replacing an existing file.
    bool confirmOverwrite = true;
};

// The file chosen in an open dialog and the filter entry the user had picked (counted from
// 1 in the order of the ";;"-separated filter). An empty name: the user cancelled.
struct OpenFileChoice {
    std::string name;
    int filterIndex = 1;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    virtual MessageResult messageBox(WindowHandle parent, const MessageBoxRequest& request) = 0;
    // Empty result: the user cancelled.
    virtual std::string openFileName(WindowHandle parent, const FileDialogRequest& request) = 0;
    virtual OpenFileChoice openFile(WindowHandle parent, const FileDialogRequest& request) {
        return {openFileName(parent, request), 1};
    }
    virtual std::string saveFileName(WindowHandle parent, const FileDialogRequest& request) = 0;
    // Shows the window modally and returns when it is closed.
    virtual int showModal(WindowHandle window) = 0;
};

} // namespace orvane

#endif
