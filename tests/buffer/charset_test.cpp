#include "buffer/charset.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "buffer/charset_tables.h"
#include "core/app_session.h"
#include "core/storage_host.h"
#include "core/var_store.h"

using namespace tavoe;

namespace {

// The EBCDIC -> IBM-PC codes that are fixed by rule rather than by the characters they stand for.
const std::map<int, int> kExplicitEbcdicToPc = {
    {0x04, 0xEC}, {0x06, 0xCA}, {0x08, 0xE2}, {0x09, 0xD2}, {0x0A, 0x0A}, {0x14, 0xEF}, {0x15, 0xC5},
    {0x17, 0xCB}, {0x1A, 0xDC}, {0x1B, 0xD8}, {0x20, 0xB7}, {0x21, 0xB8}, {0x22, 0xB9}, {0x23, 0xBB},
    {0x24, 0xC4}, {0x25, 0x20}, {0x28, 0xCC}, {0x29, 0xCD}, {0x2A, 0xCF}, {0x2B, 0xD0}, {0x2C, 0xD1},
    {0x30, 0xD9}, {0x31, 0xDA}, {0x33, 0xDD}, {0x34, 0xDE}, {0x35, 0xDF}, {0x36, 0xE0}, {0x38, 0xE3},
    {0x39, 0xE5}, {0x3A, 0xE9}, {0x3B, 0xEB}, {0x3C, 0xB0}, {0x3D, 0xB1}, {0x3E, 0x9E}, {0x46, 0xF2},
    {0x62, 0xB2}, {0x64, 0xB4}, {0x65, 0xB5}, {0x66, 0xB6}, {0x6A, 0xB3}, {0x70, 0xBA}, {0x72, 0xBC},
    {0x73, 0xBD}, {0x74, 0xBE}, {0x75, 0xF3}, {0x76, 0xC0}, {0x77, 0xC1}, {0x78, 0xC2}, {0x80, 0xC3},
    {0x8C, 0xC6}, {0x8D, 0xC7}, {0x8E, 0xC8}, {0x9D, 0xCE}, {0x9F, 0xA9}, {0xAC, 0xD4}, {0xAD, 0xD5},
    {0xAE, 0xD6}, {0xAF, 0xD7}, {0xB4, 0x9F}, {0xB5, 0x15}, {0xB6, 0x14}, {0xB9, 0xFC}, {0xBC, 0xE4},
    {0xBD, 0xFE}, {0xBE, 0xBF}, {0xBF, 0xE7}, {0xCA, 0xE8}, {0xCF, 0xED}, {0xDA, 0xEE}, {0xEB, 0xF5},
    {0xED, 0xF7}, {0xEE, 0xF0}, {0xEF, 0xF9}, {0xFA, 0xDB}, {0xFB, 0xFB}, {0xFD, 0xF4}, {0xFE, 0xEA},
    {0xFF, 0xC9},
};

std::string Bytes(std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) {
        text.push_back(static_cast<char>(code));
    }
    return text;
}

int At(const std::string& text, size_t i) {
    return static_cast<unsigned char>(text[i]);
}

using Operation = XlateResult (*)(StorageHost&, const char*, char*, int);

std::string Translated(AppSession& app, Operation op, std::string text, XlateResult* result = nullptr) {
    XlateResult r = op(Storage(app), text.data(), text.data(), static_cast<int>(text.size()));
    if (result != nullptr) {
        *result = r;
    }
    return text;
}

}  // namespace

TEST(EbcdicToPcTable, HoldsEveryExplicitEntry) {
    ASSERT_EQ(kExplicitEbcdicToPc.size(), 78u);
    for (auto [ebcdic, pc] : kExplicitEbcdicToPc) {
        EXPECT_EQ(EbcdicToPc[ebcdic], pc) << "EBCDIC " << std::hex << ebcdic;
    }
}

TEST(EbcdicToPcTable, IsOneToOneButForTheTwoBlanksAndNeverGivesD3) {
    std::map<int, std::vector<int>> sources;
    for (int e = 0; e < 256; ++e) {
        sources[EbcdicToPc[e]].push_back(e);
    }
    EXPECT_EQ(sources.count(0xD3), 0u);
    EXPECT_EQ(sources[0x20], (std::vector<int>{0x25, 0x40}));
    EXPECT_EQ(sources.size(), 255u);
}

TEST(EbcdicToPcTable, TranslatesCharactersBothSetsHave) {
    EXPECT_EQ(EbcdicToPc[0xC1], 'A');
    EXPECT_EQ(EbcdicToPc[0x81], 'a');
    EXPECT_EQ(EbcdicToPc[0xF9], '9');
    EXPECT_EQ(EbcdicToPc[0x4B], '.');
    EXPECT_EQ(EbcdicToPc[0x05], 0x09);  // horizontal tab
    EXPECT_EQ(EbcdicToPc[0x0D], 0x0D);  // carriage return
    EXPECT_EQ(EbcdicToPc[0x51], 0x82);  // e acute
    EXPECT_EQ(EbcdicToPc[0x4A], 0x9B);  // cent sign
    EXPECT_EQ(EbcdicToPc[0xB1], 0x9C);  // pound sign
}

TEST(PcToEbcdicTable, InvertsEbcdicToPc) {
    for (int e = 0; e < 256; ++e) {
        if (e != 0x25) {
            EXPECT_EQ(PcToEbcdic[EbcdicToPc[e]], e) << "EBCDIC " << std::hex << e;
        }
    }
    EXPECT_EQ(PcToEbcdic[0x20], 0x40);
    EXPECT_EQ(PcToEbcdic[0xD3], 0x40);
}

TEST(EbcdicToIsoTable, AppliesItsExceptions) {
    EXPECT_EQ(EbcdicToIso[0x00], 0x20);
    for (int same : {0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x14, 0x15, 0x16, 0x17, 0x1A, 0x1B}) {
        EXPECT_EQ(EbcdicToIso[same], same) << std::hex << same;
    }
    EXPECT_EQ(EbcdicToIso[0x41], 0x20);
    EXPECT_EQ(EbcdicToIso[0xCA], 0x20);
    EXPECT_EQ(EbcdicToIso[0xFF], 0x20);
    for (int e = 0x20; e <= 0x3F; ++e) {
        EXPECT_TRUE(IsUntranslatableEbcdicToIso(static_cast<std::uint8_t>(e)));
    }
    EXPECT_FALSE(IsUntranslatableEbcdicToIso(0x1F));
    EXPECT_FALSE(IsUntranslatableEbcdicToIso(0x40));
}

TEST(EbcdicToIsoTable, TranslatesCharactersBothSetsHave) {
    EXPECT_EQ(EbcdicToIso[0xC1], 'A');
    EXPECT_EQ(EbcdicToIso[0x40], ' ');
    EXPECT_EQ(EbcdicToIso[0xF0], '0');
    EXPECT_EQ(EbcdicToIso[0x6F], '?');
    EXPECT_EQ(EbcdicToIso[0xBA], '[');
    EXPECT_EQ(EbcdicToIso[0x51], 0xE9);  // e acute
    EXPECT_EQ(EbcdicToIso[0x9F], 0xA4);  // currency sign
    EXPECT_EQ(EbcdicToIso[0x07], 0x07);
}

TEST(IsoToEbcdicTable, AppliesItsExceptions) {
    for (int same : {0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x14, 0x15, 0x16, 0x17, 0x1A, 0x1B}) {
        EXPECT_EQ(IsoToEbcdic[same], same) << std::hex << same;
    }
    EXPECT_EQ(IsoToEbcdic[0x7F], 0x00);
    EXPECT_EQ(IsoToEbcdic[0xA0], 0xA0);
    EXPECT_EQ(IsoToEbcdic[0xA2], 0xBA);
    EXPECT_EQ(IsoToEbcdic[0xA6], 0xBB);
    EXPECT_EQ(IsoToEbcdic[0xAC], 0xB0);
    EXPECT_EQ(IsoToEbcdic[0xAD], 0x60);
    EXPECT_EQ(IsoToEbcdic['A'], 0xC1);
    EXPECT_EQ(IsoToEbcdic[' '], 0x40);
    EXPECT_EQ(IsoToEbcdic['a'], 0x81);
    EXPECT_EQ(IsoToEbcdic[0xE9], 0x51);
    EXPECT_TRUE(IsUntranslatableIsoToEbcdic(0x80));
    EXPECT_TRUE(IsUntranslatableIsoToEbcdic(0x9F));
    EXPECT_FALSE(IsUntranslatableIsoToEbcdic(0x7F));
    EXPECT_FALSE(IsUntranslatableIsoToEbcdic(0xA0));
}

TEST(EbcdicIsoTables, RoundTripExceptWhereCodesMerge) {
    const std::set<int> mergedEbcdic = {0x00, 0x41, 0x4A, 0x5F, 0x6A, 0xCA, 0xFF};
    for (int e = 0; e < 256; ++e) {
        if (IsUntranslatableEbcdicToIso(static_cast<std::uint8_t>(e))) {
            continue;
        }
        EXPECT_EQ(IsoToEbcdic[EbcdicToIso[e]] == e, mergedEbcdic.count(e) == 0) << std::hex << e;
    }
    const std::set<int> mergedIso = {0x00, 0x7F, 0xA0, 0xA2, 0xA6, 0xAC, 0xAD};
    for (int i = 0; i < 256; ++i) {
        if (IsUntranslatableIsoToEbcdic(static_cast<std::uint8_t>(i))) {
            continue;
        }
        EXPECT_EQ(EbcdicToIso[IsoToEbcdic[i]] == i, mergedIso.count(i) == 0) << std::hex << i;
    }
}

TEST(PcToIsoTable, AppliesItsExceptionsAndFallsBackToQuestionMark) {
    EXPECT_EQ(PcToIso[0x00], 0x00);
    for (int c = 0x01; c <= 0x1F; ++c) {
        int expected = '?';
        if (c == 0x09 || c == 0x0A || c == 0x0D) {
            expected = c;
        } else if (c == 0x14) {
            expected = 0xB6;
        } else if (c == 0x15) {
            expected = 0xA7;
        }
        EXPECT_EQ(PcToIso[c], expected) << std::hex << c;
    }
    EXPECT_EQ(PcToIso[0xF9], 0xB7);
    EXPECT_EQ(PcToIso[0xFA], '?');
    EXPECT_EQ(PcToIso[0xFF], 0x20);
    EXPECT_EQ(PcToIso[0x8F], 0xC5);  // A ring
    EXPECT_EQ(PcToIso[0x82], 0xE9);  // e acute
    EXPECT_EQ(PcToIso[0xE1], 0xDF);  // sharp s
    EXPECT_EQ(PcToIso[0xC4], '?');   // box drawing
    EXPECT_EQ(PcToIso[0xE3], '?');   // pi
    EXPECT_EQ(PcToIso['z'], 'z');
}

TEST(IsoToPcTable, AppliesItsExceptionsAndFallsBackToQuestionMark) {
    EXPECT_EQ(IsoToPc[0x00], 0x00);
    for (int c = 0x01; c <= 0x1F; ++c) {
        bool kept = c == 0x09 || c == 0x0A || c == 0x0D;
        EXPECT_EQ(IsoToPc[c], kept ? c : '?') << std::hex << c;
    }
    for (int c = 0x80; c <= 0x9F; ++c) {
        EXPECT_EQ(IsoToPc[c], c);
    }
    EXPECT_EQ(IsoToPc[0xA0], 0x20);
    EXPECT_EQ(IsoToPc[0xA7], 0x15);
    EXPECT_EQ(IsoToPc[0xB6], 0x14);
    EXPECT_EQ(IsoToPc[0xD3], 0x20);
    EXPECT_EQ(IsoToPc[0xF8], 0xED);
    EXPECT_EQ(IsoToPc[0xC5], 0x8F);
    EXPECT_EQ(IsoToPc[0xC2], '?');
    EXPECT_EQ(IsoToPc[0xFC], 0x81);  // u diaeresis
    EXPECT_EQ(IsoToPc['~'], '~');
}

TEST(PcIsoTables, RoundTripWhereBothSetsHaveTheCharacter) {
    for (int p = 0; p < 256; ++p) {
        if (PcToIso[p] == '?' && p != '?') {
            continue;
        }
        bool merged = p == 0xF9 || p == 0xFF;  // bullet and required blank
        EXPECT_EQ(IsoToPc[PcToIso[p]] == p, !merged) << std::hex << p;
    }
}

TEST(EbcdicTranslation, LettersAndBlanksInBothDisplaySets) {
    AppSession app;
    std::string record = Bytes({0xC1, 0x40, 0x81, 0xF1});
    EXPECT_EQ(Translated(app, TranslateEbcdicToPc, record), "A a1");
    XlateResult result;
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, record, &result), "A a1");
    EXPECT_EQ(result, XlateResult::Clean);
    EXPECT_EQ(Translated(app, TranslateIsoToEbcdic, "A a1", &result), record);
    EXPECT_EQ(result, XlateResult::Clean);
    EXPECT_EQ(Translated(app, TranslatePcToEbcdic, "A a1"), record);
}

TEST(EbcdicTranslation, LineFeedCodeShowsAsBlankAndSavesAsBlank) {
    AppSession app;
    std::string shown = Translated(app, TranslateEbcdicToPc, Bytes({0xC1, 0x25, 0xC2}));
    EXPECT_EQ(shown, "A B");
    EXPECT_EQ(Translated(app, TranslatePcToEbcdic, shown), Bytes({0xC1, 0x40, 0xC2}));
}

TEST(EbcdicTranslation, EveryIbmPcCodeRoundTripsButTheUnusedD3) {
    AppSession app;
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<char>(c));
    }
    std::string back = Translated(app, TranslateEbcdicToPc, Translated(app, TranslatePcToEbcdic, all));
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(At(back, c), c == 0xD3 ? 0x20 : c) << std::hex << c;
    }
}

TEST(EbcdicTranslation, UntranslatableCodesTakeTheSubstitutionCharacter) {
    AppSession app;
    XlateResult result;
    std::string shown = Translated(app, TranslateEbcdicToIso, Bytes({0xC1, 0x30, 0x3F, 0x20, 0xC2}), &result);
    EXPECT_EQ(result, XlateResult::Substituted);
    EXPECT_EQ(shown, "A???B");

    // The ISO-8859 -> EBCDIC substitute is the character's own code, not its EBCDIC translation.
    std::string saved = Translated(app, TranslateIsoToEbcdic, Bytes({'A', 0x85, 0x9F}), &result);
    EXPECT_EQ(result, XlateResult::Substituted);
    EXPECT_EQ(saved, Bytes({0xC1, '?', '?'}));
}

TEST(EbcdicTranslation, OnlyTheIsoDirectionsReportSubstitution) {
    AppSession app;
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<char>(c));
    }
    for (Operation op : {TranslateEbcdicToPc, TranslatePcToEbcdic, TranslatePcToIso, TranslateIsoToPc}) {
        XlateResult result = XlateResult::Substituted;
        Translated(app, op, all, &result);
        EXPECT_EQ(result, XlateResult::Clean);
    }
}

TEST(SubstitutionChar, TakesFirstCharacterOfSettingWhenFirstNeeded) {
    AppSession app;
    VarSetValue(app, "ZXLATESUBCHAR", "#");
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, "\xC1"), "A");  // needs no substitute, reads nothing
    VarSetValue(app, "ZXLATESUBCHAR", "*x");
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, "\x30"), "*");
    VarSetValue(app, "ZXLATESUBCHAR", "%");
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, "\x31"), "*");  // kept for the rest of the run
}

TEST(SubstitutionChar, EachDirectionKeepsItsOwnCopy) {
    AppSession app;
    VarSetValue(app, "ZXLATESUBCHAR", "#");
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, "\x30"), "#");
    VarSetValue(app, "ZXLATESUBCHAR", "$");
    EXPECT_EQ(Translated(app, TranslateIsoToEbcdic, "\x90"), "$");
    EXPECT_EQ(Translated(app, TranslateEbcdicToIso, "\x30"), "#");
    EXPECT_EQ(SubstitutionChar(Storage(app), CharSet::AsciiIso8859), '#');
    EXPECT_EQ(SubstitutionChar(Storage(app), CharSet::Ebcdic), '$');
}

TEST(SubstitutionChar, EmptySettingMeansQuestionMark) {
    AppSession app;
    EXPECT_EQ(Translated(app, TranslateIsoToEbcdic, "\x80"), "?");
}

TEST(TranslateOperation, LeavesBuffersAloneForNullOrEmptyInput) {
    AppSession app;
    char out[2] = {'x', 'y'};
    const char in[2] = {'\x30', '\xC1'};
    EXPECT_EQ(TranslateEbcdicToIso(Storage(app), in, out, 0), XlateResult::Clean);
    EXPECT_EQ(TranslateEbcdicToIso(Storage(app), in, out, -5), XlateResult::Clean);
    EXPECT_EQ(TranslateEbcdicToIso(Storage(app), nullptr, out, 2), XlateResult::Clean);
    EXPECT_EQ(TranslateEbcdicToIso(Storage(app), in, nullptr, 2), XlateResult::Clean);
    EXPECT_EQ(TranslateEbcdicToPc(Storage(app), in, out, 0), XlateResult::Clean);
    EXPECT_EQ(Translate(Storage(app), CharSet::AsciiIso8859, CharSet::AsciiIso8859, in, out, 0),
              XlateResult::Clean);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(out[1], 'y');
}

TEST(TranslateOperation, OverlappingBuffersTranslateEveryByteOnce) {
    AppSession app;
    std::string buffer = Bytes({0xC1, 0xC2, 0x30, 0xC3, 0x00});
    EXPECT_EQ(TranslateEbcdicToIso(Storage(app), buffer.data(), buffer.data() + 1, 4),
              XlateResult::Substituted);
    EXPECT_EQ(buffer, Bytes({0xC1, 'A', 'B', '?', 'C'}));
    buffer = Bytes({0xC1, 0xC2, 0xC3, 0x40, 0x7B});
    (void)TranslateEbcdicToPc(Storage(app), buffer.data() + 1, buffer.data(), 3);
    EXPECT_EQ(buffer, Bytes({'B', 'C', ' ', 0x40, 0x7B}));
}

TEST(TranslateOperation, DispatchesEveryPairToItsTable) {
    AppSession app;
    const CharSet sets[] = {CharSet::AsciiIso8859, CharSet::AsciiIbmPc, CharSet::Ebcdic};
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<char>(c));
    }
    for (CharSet from : sets) {
        for (CharSet to : sets) {
            std::string out(256, '\0');
            (void)Translate(Storage(app), from, to, all.data(), out.data(), 256);
            const auto* table = TranslationTable(from, to);
            if (from == to) {
                EXPECT_EQ(table, nullptr);
                EXPECT_EQ(out, all);
                continue;
            }
            ASSERT_NE(table, nullptr);
            for (int c = 0; c < 256; ++c) {
                EXPECT_EQ(At(out, c), (*table)[c]);
            }
        }
    }
    EXPECT_EQ(TranslationTable(CharSet::Ebcdic, CharSet::AsciiIbmPc), &EbcdicToPc);
    EXPECT_EQ(TranslationTable(CharSet::AsciiIso8859, CharSet::Ebcdic), &IsoToEbcdic);
    EXPECT_EQ(TranslationTable(CharSet::AsciiIbmPc, CharSet::AsciiIso8859), &PcToIso);
}

TEST(TypedCharacter, OnlyHighCodesInAnIbmPcSessionAreTranslated) {
    EXPECT_EQ(TranslateTypedChar(CharSet::AsciiIbmPc, ' '), ' ');
    EXPECT_EQ(TranslateTypedChar(CharSet::AsciiIbmPc, 'a'), 'a');
    EXPECT_EQ(TranslateTypedChar(CharSet::AsciiIbmPc, '\xC5'), '\x8F');
    EXPECT_EQ(TranslateTypedChar(CharSet::AsciiIbmPc, '\xE9'), '\x82');
    EXPECT_EQ(TranslateTypedChar(CharSet::AsciiIso8859, '\xC5'), '\xC5');
}

TEST(CharSetNames, NamesAndExactParsing) {
    EXPECT_EQ(CharSetName(CharSet::Ebcdic), "EBCDIC");
    EXPECT_EQ(CharSetName(CharSet::AsciiIbmPc), "ASCII-IBMPC");
    EXPECT_EQ(CharSetName(CharSet::AsciiIso8859), "ASCII-ISO8859");
    EXPECT_EQ(ParseCharSetName("EBCDIC"), CharSet::Ebcdic);
    EXPECT_EQ(ParseCharSetName("ASCII-IBMPC"), CharSet::AsciiIbmPc);
    EXPECT_EQ(ParseCharSetName("ASCII-ISO8859"), CharSet::AsciiIso8859);
    EXPECT_EQ(ParseCharSetName("ebcdic"), std::nullopt);
    EXPECT_EQ(ParseCharSetName(" EBCDIC"), std::nullopt);
    EXPECT_EQ(ParseCharSetName(""), std::nullopt);
    EXPECT_EQ(ParseCharSetName("ASCII"), std::nullopt);
    EXPECT_EQ(ParseCharSetName("ASCII", PlainAscii::MeansIso8859), CharSet::AsciiIso8859);
    EXPECT_EQ(static_cast<int>(CharSet::Ebcdic), 2);
    EXPECT_EQ(static_cast<int>(CharSet::AsciiIbmPc), 1);
}

TEST(CharSetNames, CharacterSetChoicesParseAndPrint) {
    for (const CharacterSetChoice& choice : kCharacterSetChoices) {
        EXPECT_EQ(ParseCharacterSet(choice.text), choice.pair);
        EXPECT_EQ(CharacterSetText(choice.pair), choice.text);
    }
    auto pair = ParseCharacterSet("Disk(EBCDIC).Display(ASCII-IBMPC)");
    ASSERT_TRUE(pair.has_value());
    EXPECT_EQ(pair->disk, CharSet::Ebcdic);
    EXPECT_EQ(pair->display, CharSet::AsciiIbmPc);
    EXPECT_TRUE(NeedsTranslation(*pair));
    EXPECT_FALSE(NeedsTranslation({CharSet::AsciiIbmPc, CharSet::AsciiIbmPc}));
    EXPECT_EQ(ParseCharacterSet("Disk(ASCII-IBMPC).Display(ASCII-ISO8859)"), std::nullopt);
    EXPECT_EQ(ParseCharacterSet("disk(ebcdic).display(ascii-ibmpc)"), std::nullopt);
    EXPECT_EQ(CharacterSetText({CharSet::AsciiIbmPc, CharSet::AsciiIso8859}), "");
    EXPECT_EQ(CharacterSetText({CharSet::AsciiIso8859, CharSet::Ebcdic}), "");
}

TEST(UntranslatableReport, ShowsOneErrorBoxPerFile) {
    AppSession app;
    UntranslatableReport report;
    std::string record = Bytes({0xC1, 0x30});
    for (int i = 0; i < 3; ++i) {
        std::string line = record;
        if (TranslateEbcdicToIso(Storage(app), line.data(), line.data(), 2) == XlateResult::Substituted) {
            ReportUntranslatable(Storage(app), report, "/data/PAY.DAT", CharSet::Ebcdic,
                                 CharSet::AsciiIso8859);
        }
    }
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "File '/data/PAY.DAT' has some EBCDIC character codes which do not translate to "
              "ASCII-ISO8859.\n\nCharacter '?' substituted for non-tranlatable character codes.");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Error);

    ReportUntranslatable(Storage(app), report, "/data/OTHER.DAT", CharSet::Ebcdic, CharSet::AsciiIso8859);
    EXPECT_EQ(app.messages.size(), 2u);

    // A later operation on the first file starts with its own report and is told again.
    UntranslatableReport nextLoad;
    ReportUntranslatable(Storage(app), nextLoad, "/data/PAY.DAT", CharSet::Ebcdic, CharSet::AsciiIso8859);
    EXPECT_EQ(app.messages.size(), 3u);
}

TEST(UntranslatableReport, NamesTheSubstituteOfItsDirection) {
    AppSession app;
    VarSetValue(app, "ZXLATESUBCHAR", "#");
    (void)Translated(app, TranslateIsoToEbcdic, "\x81");
    VarSetValue(app, "ZXLATESUBCHAR", "@");
    UntranslatableReport report;
    ReportUntranslatable(Storage(app), report, "x.txt", CharSet::AsciiIso8859, CharSet::Ebcdic);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "File 'x.txt' has some ASCII-ISO8859 character codes which do not translate to EBCDIC.\n\n"
              "Character '#' substituted for non-tranlatable character codes.");
}

TEST(UntranslatableReport, EmptyFileNameIsStillReportedOnce) {
    AppSession app;
    UntranslatableReport report;
    ReportUntranslatable(Storage(app), report, "", CharSet::Ebcdic, CharSet::AsciiIso8859);
    ReportUntranslatable(Storage(app), report, "", CharSet::Ebcdic, CharSet::AsciiIso8859);
    EXPECT_EQ(app.messages.size(), 1u);
}

// Long records are translated two bytes at a time: every code must come out the same in either
// place of a pair, and an odd last byte must not be left behind.
TEST(TranslateOperation, LongRecordsMatchTheTablesInEveryPosition) {
    AppSession app;
    std::string all;
    for (int round = 0; round < 2; ++round) {
        for (int c = 0; c < 256; ++c) {
            all.push_back(static_cast<char>(c));
        }
    }
    const std::pair<Operation, const std::array<std::uint8_t, 256>*> plain[] = {
        {TranslateEbcdicToPc, &EbcdicToPc},
        {TranslatePcToEbcdic, &PcToEbcdic},
        {TranslatePcToIso, &PcToIso},
        {TranslateIsoToPc, &IsoToPc},
    };
    for (const auto& [operation, table] : plain) {
        for (int start : {0, 1}) {
            const int count = static_cast<int>(all.size()) - start;  // 512 and an odd 511
            std::string out(static_cast<size_t>(count), '\0');
            (void)operation(Storage(app), all.data() + start, out.data(), count);
            for (int i = 0; i < count; ++i) {
                const auto code = static_cast<std::uint8_t>(all[static_cast<size_t>(start + i)]);
                ASSERT_EQ(static_cast<std::uint8_t>(out[static_cast<size_t>(i)]), (*table)[code])
                    << "start " << start << " index " << i;
            }
        }
    }
}
