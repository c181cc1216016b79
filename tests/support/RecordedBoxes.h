// Message boxes recorded instead of shown: their texts and types, each answered with the box's default
// button. The previous responder comes back at the end of the scope.
#pragma once

#include "platform/display/MessageBox.h"

#include <string>
#include <vector>

namespace testsupport {

class RecordedBoxes {
public:
    RecordedBoxes() {
        m_previous = DisplaySetMessageBoxResponder([this](HWND, const std::u16string&, const std::u16string& text,
                                                          UINT type) {
            texts.push_back(text);
            types.push_back(type);
            return DisplayDefaultMessageBoxAnswer(type);
        });
    }
    ~RecordedBoxes() { DisplaySetMessageBoxResponder(m_previous); }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

    std::vector<std::u16string> texts;
    std::vector<UINT> types;

private:
    MessageBoxResponder m_previous;
};

} // namespace testsupport
