#include "tests/conformance/DesktopDriver.hpp"

namespace tokeiya::conformance {

using namespace win;

bool RecordingProc::WindowProc(const Message& message) {
    entries.push_back(Entry{message, window != nullptr ? window->ModifierState() : 0});
    return onMessage ? onMessage(message) : false;
}

void RecordingProc::OnPaint(CDC& dc) {
    ++paints;
    if (onPaint) {
        onPaint(dc);
    }
}

std::vector<Message> RecordingProc::Of(UINT message) const {
    std::vector<Message> found;
    for (const Entry& entry : entries) {
        if (entry.message.message == message) {
            found.push_back(entry.message);
        }
    }
    return found;
}

std::string KeyTraceOf(const std::vector<Message>& messages) {
    std::string trace;
    for (const Message& m : messages) {
        const char* name = nullptr;
        switch (m.message) {
            case WM_KEYDOWN:
                name = "down";
                break;
            case WM_KEYUP:
                name = "up";
                break;
            case WM_SYSKEYDOWN:
                name = "sysdown";
                break;
            case WM_SYSKEYUP:
                name = "sysup";
                break;
            case WM_CHAR:
                name = "char";
                break;
            default:
                continue;
        }
        if (!trace.empty()) {
            trace += ", ";
        }
        trace += name;
        trace += ' ';
        trace += std::to_string(m.wParam);
    }
    return trace;
}

std::string RecordingProc::KeyTrace() const {
    std::vector<Message> messages;
    messages.reserve(entries.size());
    for (const Entry& entry : entries) {
        messages.push_back(entry.message);
    }
    return KeyTraceOf(messages);
}

}  // namespace tokeiya::conformance
