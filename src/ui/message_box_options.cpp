#include "ui/message_box_options.h"

namespace tavoe {

namespace ui {

int MsgBoxChoices(MsgBoxButtons buttons, MsgBoxReply out[3]) {
    switch (buttons) {
        case MsgBoxButtons::Ok:
            out[0] = MsgBoxReply::Ok;
            return 1;
        case MsgBoxButtons::OkCancel:
            out[0] = MsgBoxReply::Ok;
            out[1] = MsgBoxReply::Cancel;
            return 2;
        case MsgBoxButtons::YesNo:
            out[0] = MsgBoxReply::Yes;
            out[1] = MsgBoxReply::No;
            return 2;
        case MsgBoxButtons::YesNoCancel:
            out[0] = MsgBoxReply::Yes;
            out[1] = MsgBoxReply::No;
            out[2] = MsgBoxReply::Cancel;
            return 3;
    }
    out[0] = MsgBoxReply::Ok;
    return 1;
}

MsgBoxReply MsgBoxDefaultReply(const MessageBoxSpec& spec) {
    MsgBoxReply choices[3];
    int count = MsgBoxChoices(spec.buttons, choices);
    int index = spec.defaultButton >= 0 && spec.defaultButton < count ? spec.defaultButton : 0;
    return choices[index];
}

const char* MsgBoxReplyName(MsgBoxReply reply) {
    switch (reply) {
        case MsgBoxReply::Ok:
            return "OK";
        case MsgBoxReply::Cancel:
            return "CANCEL";
        case MsgBoxReply::Yes:
            return "YES";
        case MsgBoxReply::No:
            return "NO";
    }
    return "OK";
}

}  // namespace ui

}  // namespace tavoe
