#include "view/color_commands.h"

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/message.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "profiles/colorization_io.h"
#include "view/line_colors.h"
#include "view/view_colors.h"

namespace tavoe {

namespace {

std::uint8_t BaseColor(const AppSession& app, const EditSession& session) {
    ui::ColorPair pair = ElementColors(app, session.ReadOnly() ? ColorElement::Browse : ColorElement::Edit);
    return ColorAttribute(pair.fg, pair.bg);
}

}  // namespace

void RecolorCommand(AppSession& app, EditSession& session, std::string_view) {
    RecolorAll(app, session.buffer, BaseColor(app, session));
}

void ColormapCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::string type = CommandToUpper(CommandTrim(params));
    std::shared_ptr<Colorizer> colorizer;
    if (type != "NONE") {
        std::size_t before = app.messages.size();
        colorizer = LoadColorizer(app, type);
        if (!colorizer && app.messages.size() == before) {
            ShowMessage(app, Format("Colorization type '%s' not found.", type.c_str()), MsgTo::Box,
                        Beep::Exclamation);
        }
    }
    UseColorizer(app, session.buffer, std::move(colorizer), BaseColor(app, session));
}

}  // namespace tavoe
