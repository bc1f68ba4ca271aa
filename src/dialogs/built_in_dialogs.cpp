#include "dialogs/built_in_dialogs.h"

#include <algorithm>

namespace tavoe {

const std::array<std::string_view, 76> BuiltInDialogNames = {
    "ABOUT",    "ALIASCMD",   "AEDITCMD", "ALIASPRF", "AEDITPRF", "CHANGE",   "CLRFIELD", "CLRMODE",
    "CLRNEW",   "CLRPALETTE", "CLRTYPE",  "CLRWORD",  "COLORS",   "COMPARE",  "COMPDIR",  "CONVERT1",
    "CONVERT2", "CONVERT3",   "CONVV1",   "CONVV2",   "CONVF1",   "CONVF2",   "CONVF3",   "CONVF4",
    "CONVC1",   "COPY",       "DLGTEST",  "DRIVLIST", "EDOPT",    "EDOPTGEN", "FILESCAN", "FILTERS",
    "FILTERS2", "FIND",       "FLISTOPT", "FLSTOPEN", "FONT",     "FONTMENU", "FPNEW",    "FPTYPE",
    "FPRECFMF", "FPRECFMV",   "GENOPT",   "HELPTOC",  "IMPORT",   "ISTYLE",   "KEYS",     "KEYSALT",
    "KEYSATOZ", "KEYSBASE",   "KEYSCTRL", "KEYSRCTL", "KEYSSHFT", "LOCATE",   "MULTOPEN", "PATHS",
    "PRNSETUP", "PRNSTYLE",   "PROJECT",  "PROJNEW",  "PROJOPEN", "QRFELCMD", "QRFEPCMD", "QRFFLCMD",
    "QRFFPCMD", "QRFGPCMD",   "RECENT",   "TEMPLATE", "USERCMD",  "VARS",     "VARS2",    "USERCMD2",
    "WORDNEW",  "WORDS",      "XCMD",     "XKEYBRD",
};

bool IsBuiltInDialog(std::string_view upperName) {
    return std::find(BuiltInDialogNames.begin(), BuiltInDialogNames.end(), upperName) !=
           BuiltInDialogNames.end();
}

}  // namespace tavoe
