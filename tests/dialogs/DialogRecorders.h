// A sender that records what the dialogs hand to the view, and the message boxes they raise.
#pragma once

#include "dialogs/DialogCommandSender.h"
#include "platform/display/MessageBox.h"

#include <ostream>
#include <string>
#include <vector>

namespace dialogtest {

struct SentCommand {
    std::u16string bytes;
    bool waited;
    bool operator==(const SentCommand&) const = default;
};

inline void PrintTo(const SentCommand& command, std::ostream* os) {
    *os << (command.waited ? "wait:" : "send:");
    for (char16_t c : command.bytes) {
        *os << ' ' << std::hex << static_cast<unsigned>(c) << std::dec;
    }
}

class RecordingSender : public DialogCommandSender {
public:
    void Send(const CString& command) override { sent.push_back({command.str(), false}); }
    BOOL SendAndWait(const CString& command) override {
        sent.push_back({command.str(), true});
        return TRUE;
    }
    std::vector<SentCommand> sent;
};

// Answers every box with the given button (0: its default button) and keeps the texts, for the scope.
class RecordedMessageBoxes {
public:
    explicit RecordedMessageBoxes(int answer = 0) {
        m_previous = DisplaySetMessageBoxResponder(
            [this, answer](HWND, const std::u16string&, const std::u16string& text, UINT type) {
                texts.push_back(text);
                types.push_back(type);
                return answer != 0 ? answer : DisplayDefaultMessageBoxAnswer(type);
            });
    }
    ~RecordedMessageBoxes() { DisplaySetMessageBoxResponder(m_previous); }
    RecordedMessageBoxes(const RecordedMessageBoxes&) = delete;
    RecordedMessageBoxes& operator=(const RecordedMessageBoxes&) = delete;

    std::vector<std::u16string> texts;
    std::vector<UINT> types;

private:
    MessageBoxResponder m_previous;
};

// Units of byte values, as the dialogs build their commands.
inline std::u16string Bytes(std::initializer_list<int> values) {
    std::u16string text;
    for (int v : values) {
        text += static_cast<char16_t>(v);
    }
    return text;
}

} // namespace dialogtest
