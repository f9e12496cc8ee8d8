#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "ResourceBytes.h"
#include "XmlTag.h"
#include "MarnellVersion.h"
#include "resource.h"

namespace {

// This executable's version block, as the shell's file properties read it.
std::vector<BYTE> VersionBlock() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !::GetFileVersionInfoW(path, 0, size, block.data())) block.clear();
    return block;
}

// A string of the "040904e4" block, or "(missing)".
std::wstring VersionString(std::vector<BYTE>& block, const wchar_t* name) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904e4\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !::VerQueryValueW(block.data(), key.c_str(), &value, &length) || value == nullptr) {
        return L"(missing)";
    }
    return static_cast<const wchar_t*>(value);
}

}  // namespace

TEST(VersionBlock, FixedFileInfo) {
    std::vector<BYTE> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    constexpr DWORD kMajorMinor = (MARNELL_VERSION_MAJOR << 16) | MARNELL_VERSION_MINOR;
    constexpr DWORD kPatchZero = MARNELL_VERSION_PATCH << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, kMajorMinor);
    EXPECT_EQ(fixed->dwFileVersionLS, kPatchZero);
    EXPECT_EQ(fixed->dwProductVersionMS, kMajorMinor);
    EXPECT_EQ(fixed->dwProductVersionLS, kPatchZero);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST(VersionBlock, StringsAndTranslation) {
    std::vector<BYTE> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"" MARNELL_VERSION_TEXT);
    EXPECT_EQ(VersionString(block, L"InternalName"), L"Marnell2.exe");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Marnell2.exe");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Marnell");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"" MARNELL_VERSION_TEXT4);
    for (const wchar_t* key : {L"CompanyName", L"LegalCopyright"}) {
        const std::wstring value = VersionString(block, key);
        EXPECT_NE(value, L"(missing)") << key;
        EXPECT_FALSE(value.empty()) << key;
    }
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);  // exactly one language and code page
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);
}

// The configuration dialog's notice line names the maker and the year 2014;
// the maker is the version block's company.
TEST(VersionBlock, CompanyIsTheMakerNamedInTheDialogsNoticeLine) {
    std::vector<BYTE> block = VersionBlock();
    const std::wstring company = VersionString(block, L"CompanyName");
    ASSERT_NE(company, L"(missing)");
    for (UINT id : {IDD_CONFIG_ENGLISH, IDD_CONFIG_CYMRAEG}) {
        DialogTemplate t;
        ASSERT_TRUE(ReadDialogTemplateEx(ResourceBytes(RT_DIALOG, id), t));
        ASSERT_EQ(t.items.size(), 7u);
        const std::wstring notice = t.items[6].text.name;
        EXPECT_NE(notice.find(company), std::wstring::npos) << "dialog " << id;
        EXPECT_NE(notice.find(L"2014"), std::wstring::npos) << "dialog " << id;
    }
}

namespace {

void ExpectCommonManifestParts(const std::string& xml) {
    const std::string own = XmlStartTag(xml, "assemblyIdentity", 0);
    EXPECT_EQ(XmlAttribute(own, "name"), "Microsoft.Windows.Marnell2");
    EXPECT_EQ(XmlAttribute(own, "version"), "1.0.0.0");
    EXPECT_EQ(XmlAttribute(own, "processorArchitecture"), "X86");
    EXPECT_EQ(XmlAttribute(own, "type"), "win32");
    EXPECT_EQ(XmlElementText(xml, "description"), "Marnell");

    // The dependency's identity is the one inside dependentAssembly.
    const size_t dependency = xml.find("dependentAssembly");
    ASSERT_NE(dependency, std::string::npos);
    const std::string controls = XmlStartTag(xml.substr(dependency), "assemblyIdentity", 0);
    EXPECT_EQ(XmlAttribute(controls, "name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(XmlAttribute(controls, "version"), "6.0.0.0");
    EXPECT_EQ(XmlAttribute(controls, "processorArchitecture"), "X86");
    EXPECT_EQ(XmlAttribute(controls, "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(XmlAttribute(controls, "language"), "*");
    EXPECT_EQ(XmlAttribute(controls, "type"), "win32");
}

}  // namespace

TEST(Manifests, UsEnglishOneAsksForCommonControlsAsInvokerAndDpiAwareness) {
    const std::string xml = ResourceBytes(RT_MANIFEST, 1, 1033);
    ASSERT_FALSE(xml.empty());
    ExpectCommonManifestParts(xml);
    const std::string level = XmlStartTag(xml, "requestedExecutionLevel");
    EXPECT_EQ(XmlAttribute(level, "level"), "asInvoker");
    EXPECT_EQ(XmlAttribute(level, "uiAccess"), "false");
    EXPECT_EQ(XmlElementText(xml, "dpiAware"), "true");
}

TEST(Manifests, UkEnglishOneAsksForCommonControls) {
    const std::string xml = ResourceBytes(RT_MANIFEST, 1, 2057);
    ASSERT_FALSE(xml.empty());
    ExpectCommonManifestParts(xml);
}
