// The checker against the reader: on a corpus of broken files, each with its
// expected diagnostics and exit code, and on mutations of them, check's verdict
// and tables must be what LoadLayoutFile and ParseLayoutBytes make of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CleanedText.h"
#include "LayoutCheck.h"
#include "LayoutFile.h"
#include "LayoutText.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(MARNELL_CHECK_CORPUS)) {
        if (entry.path().extension() == ".vmap") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool SameTables(const LayoutTables& a, const LayoutTables& b) {
    return a.ActivationKeys == b.ActivationKeys && a.ModifierKeys == b.ModifierKeys && a.KeyCodes == b.KeyCodes &&
           a.ModifierIndexes == b.ModifierIndexes && a.LowerChars == b.LowerChars && a.UpperChars == b.UpperChars;
}

LayoutTables LoadedTables() {
    return {GetActivationKeys(), GetModifierKeys(), GetKeyCodes(), GetModifierIndexes(), GetLowerChars(),
            GetUpperChars()};
}

TEST(LayoutCheckCorpus, EachFileGivesItsExpectedDiagnosticsAndExitCode) {
    const std::vector<fs::path> files = CorpusFiles();
    ASSERT_GE(files.size(), 25u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        fs::path expectedPath = file;
        expectedPath.replace_extension(".expected");
        ASSERT_TRUE(fs::exists(expectedPath));
        const LayoutCheckReport report = CheckLayoutBytes(ReadAll(file));
        const std::string got = "exit " + std::to_string(CheckExitCode(report)) + "\n" +
                                FormatDiagnostics(file.filename().string(), report);
        EXPECT_EQ(ReadAll(expectedPath), got);
    }
}

TEST(LayoutCheckCorpus, VerdictAndTablesAreTheReadersOwn) {
    for (const fs::path& file : CorpusFiles()) {
        SCOPED_TRACE(file.filename().string());
        const LayoutCheckReport report = CheckLayoutBytes(ReadAll(file));
        // A file that does not load leaves the tables of the last good load,
        // so load a different layout first to see that they stay.
        ASSERT_TRUE(LoadLayoutFile((fs::path(MARNELL_CHECK_CORPUS) / "values.vmap").string().c_str()));
        const LayoutTables before = LoadedTables();
        ASSERT_EQ(report.loads, LoadLayoutFile(file.string().c_str()));
        EXPECT_EQ(report.loads, CheckExitCode(report) != 2);
        EXPECT_TRUE(SameTables(report.loads ? report.tables : before, LoadedTables()));
    }
}

TEST(LayoutCheckCorpus, ErrorsExactlyWhenTheFileDoesNotLoad) {
    for (const fs::path& file : CorpusFiles()) {
        SCOPED_TRACE(file.filename().string());
        const LayoutCheckReport report = CheckLayoutBytes(ReadAll(file));
        std::size_t errors = 0;
        for (const LayoutDiagnostic& d : report.diagnostics) errors += d.error ? 1 : 0;
        EXPECT_EQ(report.loads ? 0u : 1u, errors);
    }
}

// Random edits of the corpus files, biased towards the characters the grammar
// cares about, must never make check and the reader disagree.
TEST(LayoutCheckAgreement, MutatedCorpusFilesAgreeWithTheReader) {
    const std::vector<fs::path> files = CorpusFiles();
    std::mt19937 random(20261209u);
    const std::string alphabet = "0123456789;\r\n /*KEYMODLAYOUTNAME:\t\x01\xff";
    std::size_t loads = 0, fails = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = ReadAll(files[random() % files.size()]);
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
            case 0: bytes.insert(at, 1, c); break;
            case 1: if (at < bytes.size()) bytes.erase(at, 1); break;
            default: if (at < bytes.size()) bytes[at] = c; break;
            }
        }
        LayoutTables parsed;
        const bool parsedOk = ParseLayoutBytes(bytes, parsed);
        const LayoutCheckReport report = CheckLayoutBytes(bytes);
        ASSERT_EQ(parsedOk, report.loads) << "input: " << ::testing::PrintToString(bytes);
        if (parsedOk) {
            ASSERT_TRUE(SameTables(parsed, report.tables)) << "input: " << ::testing::PrintToString(bytes);
        }
        (parsedOk ? loads : fails) += 1;
    }
    // Both verdicts must have been exercised for the agreement to mean anything.
    EXPECT_GT(loads, 300u);
    EXPECT_GT(fails, 300u);
}

TEST(LayoutCheck, ShippedLayoutHasNothingToReport) {
    const LayoutCheckReport report = CheckLayoutBytes(ReadAll(MARNELL_SHIPPED_LAYOUT));
    EXPECT_EQ(0, CheckExitCode(report));
    EXPECT_EQ("", FormatDiagnostics("default.vmap", report));
    EXPECT_EQ(42u, report.tables.KeyCodes.size());
}

TEST(LayoutCheck, UnreadableFileIsAnErrorWithoutALine) {
    const LayoutCheckReport report = UnreadableLayoutReport();
    EXPECT_EQ(2, CheckExitCode(report));
    const std::string text = FormatDiagnostics("x.vmap", report);
    EXPECT_EQ(0u, text.rfind("x.vmap: error: the file cannot be opened", 0)) << text;
}

TEST(LayoutCheck, LinesAndColumnsCountTheFileAsWritten) {
    // Comments, spaces and every kind of line break before the fault.
    const std::string bytes = "NAME a /* two\r\nlines */\nKEY: 1 6 5 ;\rMOD:\r\n\r\nLAYOUT:\r\n  6 5;0;225;0;\r\n";
    const LayoutCheckReport report = CheckLayoutBytes(bytes);
    ASSERT_TRUE(report.loads);
    ASSERT_EQ(3u, report.diagnostics.size()) << FormatDiagnostics("t", report);
    EXPECT_EQ(2u, report.diagnostics[0].line);  // the LF alone after "lines */"
    EXPECT_EQ(9u, report.diagnostics[0].column);
    EXPECT_EQ(3u, report.diagnostics[1].line);  // the CR alone after "KEY: 1 6 5 ;"
    EXPECT_EQ(13u, report.diagnostics[1].column);
    EXPECT_EQ(7u, report.diagnostics[2].line);  // the upper-case 0, behind two spaces
    EXPECT_EQ(13u, report.diagnostics[2].column);
    EXPECT_EQ(std::vector<int16_t>{165}, report.tables.ActivationKeys);
}

TEST(CleanedText, MatchesTheReadersCleaningAndPointsBackAtEachCharacter) {
    using namespace std::string_literals;
    const std::string cases[] = {""s, "/**/"s, "/*/"s, "a/* b */c"s, "a /* b"s, "*/ /* x */ y"s, "/ * a"s,
                                 "a/**/*b*/c"s, "/*x*//*y*/z"s, "k e y\0/* z */"s, "/*\0*/x"s};
    for (const std::string& raw : cases) {
        SCOPED_TRACE(::testing::PrintToString(raw));
        const CleanedText clean = CleanLayoutText(raw);
        const std::string text = raw.substr(0, raw.find('\0'));
        EXPECT_EQ(RemoveSpaces(RemoveComments(text)), clean.text);
        ASSERT_EQ(clean.text.size() + 1, clean.origin.size());
        for (std::size_t i = 0; i < clean.text.size(); ++i) {
            EXPECT_EQ(raw[clean.origin[i]], clean.text[i]);
            if (i > 0) {
                EXPECT_LT(clean.origin[i - 1], clean.origin[i]);
            }
        }
        EXPECT_EQ(text.size(), clean.origin.back());
    }
    EXPECT_TRUE(CleanLayoutText("x /* y").commentUnclosed);
    EXPECT_FALSE(CleanLayoutText("/* y */ /* z */").commentUnclosed);
}

}  // namespace
