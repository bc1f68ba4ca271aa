#include "shell/startup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "profiles/main_profile_settings.h"
#include "shell/command_route.h"
#include "shell/edit_session.h"
#include "shell/main_window.h"
#include "shell/personal_home.h"
#include "shell/profile_lists.h"
#include "shell/recent_files.h"
#include "shell/start_options.h"
#include "shell/window_position.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

// The systems the program runs on, by the name the shared block records.
bool SupportedSystem(const std::string& name) {
    return name == "Linux";
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string field =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t first = field.find_first_not_of(' ');
        size_t last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? std::string() : field.substr(first, last - first + 1));
        if (comma == std::string::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

bool PositiveNumber(const std::string& text) {
    if (text.empty() || text.size() > 4) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return std::atoi(text.c_str()) > 0;
}

bool OptionalNumber(const std::string& text) {
    return text.empty() || PositiveNumber(text) || text == "0";
}

// The terminal draws every text in its own font, so a font setting only has to be one a font could
// be made from: a face and a size, and for the edit font a weight and style that are numbers.
void CheckFonts(AppSession& app) {
    std::vector<std::string> dialog = SplitFields(VarGetValue(app, "ZFONT.DIALOG"));
    dialog.resize(std::max<size_t>(dialog.size(), 2));
    if (dialog[0].empty() || !PositiveNumber(dialog[1])) {
        ShowMessage(app,
                    Format("Unable to set dialog font, '%s, %s', using default font.", dialog[0].c_str(),
                           dialog[1].c_str()),
                    MsgTo::Box, Beep::Exclamation);
    }
    std::vector<std::string> edit = SplitFields(VarGetValue(app, "ZFONT.EDIT"));
    edit.resize(std::max<size_t>(edit.size(), 4));
    if (edit[0].empty() || !PositiveNumber(edit[1]) || !OptionalNumber(edit[2]) || !OptionalNumber(edit[3])) {
        ShowMessage(app,
                    Format("Unable to set edit font, '%s,%s,%s,%s', using default font.", edit[0].c_str(),
                           edit[1].c_str(), edit[2].c_str(), edit[3].c_str()),
                    MsgTo::Box, Beep::Exclamation);
    }
}

bool NamesFileList(const std::string& name) {
    if (name.find_first_of("*?") != std::string::npos) {
        return true;
    }
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The -L line once the first file is open: LOCATE it, and the cursor to the column in the data area.
void LocateStartLine(AppSession& app, int line, int column) {
    RunCommandLine(app, CommandRoute::Edit, Format("LOCATE %d", line));
    EditSession* session = CurrentEditSession(app);
    if (session == nullptr) {
        return;
    }
    session->view.focus = KeyField::Data;
    session->view.cursorRow = 0;
    session->view.cursorColumn = session->view.prefixWidth + (column > 0 ? column - 1 : 0);
}

void TopMenuOfStyle(AppSession& app) {
    std::string style = VarGetValue(app, "ZMENUSTYLE");
    if (style == "Legacy Tavo") {
        PostCommand(app, "menu LEGACY");
    } else if (style == "Modern Tavo") {
        PostCommand(app, "menu MODERN");
    }
}

}  // namespace

std::string InstanceBlockName(const std::string& programPath, const char* tavoe35) {
    std::string key = programPath;
    if (tavoe35 != nullptr && tavoe35[0] != '\0') {
        key += ' ';
        key += tavoe35;
    }
    return SharedBlockName(key, static_cast<unsigned>(::getuid()));
}

bool StartInstance(AppSession& app, const InstanceStart& start) {
    const char* tavoe35 = std::getenv("TAVOE35");
    SetInstanceHome(app, start.programPath, tavoe35);
    SessionStart session;
    session.programPath = start.programPath;
    session.blockName =
        start.blockName.empty() ? InstanceBlockName(start.programPath, tavoe35) : start.blockName;
    RegisterSession(app, session);

    if (!SupportedSystem(SharedBlock(app).OsName())) {
        ShowMessage(app, "Linux 2.6 or higher required, can not continue.", MsgTo::Box, Beep::Error);
        UnregisterSession(app);
        return false;
    }
    int rows = 24;
    int cols = 80;
    if (app.screen != nullptr) {
        rows = app.screen->GetCanvas().Rows();
        cols = app.screen->GetCanvas().Cols();
    }
    ReadWindowPosition(app, cols, rows);
    SetSessionWindow(app, static_cast<int>(::getpid()));

    bool firstRun = ReadProfileNow(app) != 0;
    SharedSessionBlock& block = SharedBlock(app);
    VarSetValue(app, "ZTAVOVERSION", block.ProgramVersion());
    VarSetValue(app, "ZTAVOBUILD", block.ProgramBuild());
    LoadSessionCooperation(app);
    app.rightCtrlIsEnter = app.profileSettings.rightCtrlIsEnter;
    if (app.screen != nullptr) {
        ui::Palette palette;
        for (size_t i = 0; i < palette.size(); ++i) {
            palette[i] = ui::RgbFromColorValue(app.profileSettings.palette[i]);
        }
        app.screen->SetPalette(palette);
    }
    CheckFonts(app);

    if (firstRun) {
        (void)WriteProfileNow(app);
        if (!start.batch) {
            ShowMessage(app,
                        "Welcome to Tavo/E.\n\nThe following dialog chooses the style of the user interface. "
                        "\"Windows GUI\" is recommended in general; \"Legacy Tavo\" suits users of the "
                        "mainframe editor.",
                        MsgTo::Box, Beep::Information);
            PostCommand(app, "ISTYLE");
        }
    }

    bool forFiles = !start.editorWords.empty();
    if (forFiles) {
        ProcessStartCommandLine(app, start.editorWords);
    } else {
        TopMenuOfStyle(app);
    }
    if (app.editSessions.empty()) {
        SetTitleContext(app, "", TitleContext::None);
    }
    if (RegisteredSessionCount(app) >= 2) {
        RebuildRecentMenu(app);
        BroadcastWindowMenu(app);
        BroadcastTitles(app);
    }
    return true;
}

void ProcessStartCommandLine(AppSession& app, const std::vector<std::string>& words) {
    StartOptions options = ParseStartOptions(words);
    app.closeWhenEmpty = !options.hold;
    app.menuPostponed = options.hold;
    for (const auto& [name, value] : options.variables) {
        VarSetValue(app, name, value);
    }
    if (options.browseVariable) {
        VarSetValue(app, "ZBROWSE", "TRUE");
    }
    bool firstOpened = false;
    for (const StartFile& file : options.files) {
        if (NamesFileList(file.name)) {
            VarSetValue(app, "ZBROWSE", options.browse ? "TRUE" : "FALSE");
            RunCommandLine(app, CommandRoute::General, "open " + file.name);
            continue;
        }
        if (OpenEditSession(app, file.name, file.mode) != 0 || firstOpened) {
            continue;
        }
        firstOpened = true;
        if (!options.mergeFile.empty()) {
            RunCommandLine(app, CommandRoute::Edit, "MERGEMSG " + options.mergeFile);
        }
        if (options.locateLine > 0) {
            LocateStartLine(app, options.locateLine, options.locateColumn);
        }
    }
    // An error stops the processing of the rest of the command line, the -S command included.
    if (!options.error.empty()) {
        ShowMessage(app, options.error, MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (options.hasCommand) {
        RunCommandLine(app, CurrentEditSession(app) != nullptr ? CommandRoute::Edit : CommandRoute::General,
                       options.command);
    }
}

bool CloseInstance(AppSession& app) {
    Instance(app).closeRequested = false;
    if (!EndAllEditSessions(app)) {
        return false;
    }
    app.contexts.clear();
    app.commandQueue.clear();
    Instance(app).closeRequested = false;
    return true;
}

void FinishInstance(AppSession& app) {
    app.closing = true;
    (void)WriteProfileNow(app);
    if (OwnSlotIndex(app) >= 0 && RegisteredSessionCount(app) == 1) {
        (void)WriteWindowPosition(app);
    }
    UnregisterSession(app);
}

}  // namespace tavoe
