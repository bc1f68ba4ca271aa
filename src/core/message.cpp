#include "core/message.h"

namespace tavoe {

void ShowMessage(Reporter& reporter, std::string_view text, MsgTo to, Beep beep) {
    int type = static_cast<int>(beep);
    if (type < 0 || type > 4) {
        reporter.Report("Next message out had unknown beep type.", MsgTo::Box, Beep::Error);
        beep = Beep::None;
    }
    reporter.Report(text, to, beep);
}

int Refuse(Reporter& reporter, std::string_view text, MsgTo to, Beep beep) {
    ShowMessage(reporter, text, to, beep);
    return -1;
}

}  // namespace tavoe
