#include "profiles/file_profile.h"

#include <algorithm>

namespace tavoe {

FileProfile BuiltInFileProfile(std::string_view name) {
    FileProfile profile;
    profile.name.assign(name.substr(0, kProfileNameMax));
    for (char& c : profile.name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    profile.recordFormat = Recfm::Variable;
    profile.diskCharset = ProfileCharset::AsciiIso8859;
    profile.displayCharset = ProfileCharset::AsciiIso8859;
    profile.endOfRecordSequence = EorType::Auto;
    profile.numberType = NumberType::None;
    profile.maxRecordLength = 255;
    profile.boundsLeft = 1;
    profile.boundsRight = 255;
    profile.tabsExpandOnRead = 2;
    profile.tabsInsertOnWrite = 0;
    profile.backup = true;
    for (int i = 0; i < 10; ++i) {
        profile.tabKeyStopsAt[i] = 2 * (i + 1);
    }
    return profile;
}

bool IsFileProfile(const FileProfile& profile) {
    return profile.tag == kFileProfileTag;
}

int TabStopCount(const TabStops& stops) {
    auto end = std::find(stops.begin(), stops.end(), 0);
    return static_cast<int>(end - stops.begin());
}

std::string_view ProfileCharsetName(ProfileCharset charset) {
    switch (charset) {
        case ProfileCharset::AsciiIso8859:
            return "ASCII-ISO8859";
        case ProfileCharset::AsciiIbmPc:
            return "ASCII-IBMPC";
        case ProfileCharset::Ebcdic:
            return "EBCDIC";
    }
    return "ASCII-ISO8859";
}

}  // namespace tavoe
