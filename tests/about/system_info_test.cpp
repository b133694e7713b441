// The system lines from made-up machines, and the text functions of the report file.
#include "about/report_file.h"
#include "about/system_info.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor, DWORD build, const char* servicePack = "") {
    OSVERSIONINFOA version = {sizeof(version), major, minor, build, platform, ""};
    lstrcpyA(version.szCSDVersion, servicePack);
    return version;
}

std::vector<std::string> Lines(const SystemInfo& info, const SystemFigures& figures) {
    SystemInfoLines lines;
    FormatSystemInfoLines(info, figures, &lines);
    return std::vector<std::string>(lines.text, lines.text + lines.count);
}

TEST(SystemInfoTest, EveryKnownWindowsIsNamedAndTheServicePackFollows) {
    const struct {
        OSVERSIONINFOA version;
        const char* name;
    } kCases[] = {
        {Version(0, 3, 10, 0), "Windows 3.1(Win32s)"}, {Version(1, 4, 0, 950), "Windows 95"},
        {Version(1, 4, 10, 2222, "A"), "Windows 98 A"}, {Version(1, 4, 90, 3000), "Windows Me"},
        {Version(2, 4, 0, 1381, "Service Pack 6"), "Windows NT4.0 Service Pack 6"},
        {Version(2, 5, 0, 2195), "Windows 2000"}, {Version(2, 5, 1, 2600, "SP3"), "Windows XP SP3"},
        {Version(2, 5, 2, 3790), "Windows Server 2003"}, {Version(2, 6, 0, 6002), "Windows Vista"},
        {Version(2, 6, 1, 7601), "Windows 7"}, {Version(2, 6, 2, 9200), "Windows 8"},
        {Version(2, 6, 3, 9600), "Windows 8.1"}, {Version(2, 10, 0, 19045), "Windows 10"},
        {Version(2, 10, 0, 22000), "Windows 11"}, {Version(2, 6, 4, 9841), "Windows NT6.4"}, {Version(3, 1, 0, 0), ""}};
    for (const auto& c : kCases) {
        char name[kOsNameSize];
        MakeOsName(c.version, name);
        EXPECT_STREQ(name, c.name);
    }
}

TEST(SystemInfoTest, LinesKeepTheirFormatsAndLineUpAfterTheReportsTabExpansion) {
    SystemInfo info = {Version(1, 4, 10, 0x040A08AE), 0x040A08AE, "Windows 98", ParseDottedVersion("5.50.4522.1800"),
                       ParseDottedVersion("4.07.00.0700"), {{0x40048, 0}, {0x50032, 0}, {0x50051, 0}, {0x40048, 0}},
                       "GenuineIntel", 0x1683, 1u << 23 | 1u << 25, 1u << 31};
    SystemFigures figures = {"Quorvil Version 2.01", 1024, 768, 16, kProbeOk, 733400000, 64u << 20, 128u << 20,
                             kProbeOk, 80, 70, 90};
    std::vector<std::string> lines = Lines(info, figures);
    const std::vector<std::string> kExpected = {
        "アプリケーション\t: Quorvil Version 2.01", "OS名\t\t: Windows 98", "OSバージョン\t: 4.10 Build 2222",
        "Internet Explorer\t: 5.50.4522.1800", "SHELL32.DLL\t: 4.72", "SHLWAPI.DLL\t: 5.50",
        "COMCTL32.DLL\t: 5.81", "COMDLG32.DLL\t: 4.72", "DirectX\t\t: 4.07.00.0700", "画面\t\t: 1024x768 16bit",
        "CPU\t\t: GenuineIntel / 733.40 MHz", "\t\t: Type:1 / Family:6", "\t\t: Model:8 / Stepping:3",
        "\t\t: MMX\tSupport", "\t\t: SSE\tSupport", "\t\t: SSE2\tNot Support", "\t\t: 3DNow!\tSupport",
        "\t\t: Enhanced 3DNow!\tNot Support", "物理空きメモリ\t: 65536 KB", "利用可能メモリ\t: 131072 KB",
        "リソース\t\t: SYS 80% / USER 70% / GDI 90%"};
    EXPECT_EQ(lines, kExpected);
    for (const std::string& line : lines) {
        std::vector<char> expanded(ExpandedSize(line.size(), kReportTabWidth));
        ASSERT_EQ(ExpandTabs(line.c_str(), expanded.data(), kReportTabWidth), 1);
        EXPECT_EQ(strchr(expanded.data(), ':') - expanded.data(), 22) << expanded.data();
    }

    // On NT the version comes from the record and there is no resources line; the clock's
    // fraction reads as hundredths, above 4.29 GHz too.
    info.version = Version(2, 5, 1, info.build = 2600);
    figures.resourcesResult = kProbeNotApplicable;
    const struct {
        const char* version;
        uint64_t hertz;
        std::string ieLine, cpuLine;
    } kCases[] = {
        {"6.0.2600.0000", 733040000, "Internet Explorer\t: 6.00.2600.0000", "CPU\t\t: GenuineIntel / 733.04 MHz"},
        {"6.0", 5000000000u, "Internet Explorer\t: 6.00.0000.0000", "CPU\t\t: GenuineIntel / 5000.00 MHz"},
        {"", 0, "Internet Explorer\t: 0.00.0000.0000", "CPU\t\t: GenuineIntel / ??? MHz"},
    };
    for (const auto& c : kCases) {
        info.internetExplorer = ParseDottedVersion(c.version);
        figures.clockResult = c.hertz ? kProbeOk : kProbeNotApplicable;
        figures.cpuHertz = c.hertz;
        lines = Lines(info, figures);
        ASSERT_EQ(lines.size(), 20u);
        EXPECT_EQ(lines[2] + lines[3] + lines[10], "OSバージョン\t: 5.1 Build 2600" + c.ieLine + c.cpuLine);
    }
}

TEST(ReportTextTest, TabsExpandWithinTheirBufferAndPathsGetTheReportExtension) {
    char out[64] = "untouched";
    EXPECT_EQ(ExpandTabs(nullptr, out, 11) + ExpandTabs("a", nullptr, 11) + ExpandTabs("\t", out, 0) +
                  ExpandTabs("\t", out, -1), 0);
    EXPECT_STREQ(out, "untouched");
    ASSERT_EQ(ExpandTabs("ab\tc\r\nx\t\ty", out, 4), 1);
    EXPECT_STREQ(out, "ab  c\r\nx       y");
    // The worst case, every byte a tab, fills the computed size exactly and no more.
    std::string tabs(500, '\t');
    std::vector<char> wide(ExpandedSize(tabs.size(), kReportTabWidth) + 1, '#');
    ASSERT_EQ(ExpandTabs(tabs.c_str(), wide.data(), kReportTabWidth), 1);
    EXPECT_EQ(strlen(wide.data()), 5500u);
    EXPECT_EQ(wide.back(), '#');

    const std::string kFits = "C:\\" + std::string(252, 'x'), kTooLong = kFits + "x", kFitsReport = kFits + ".rpt";
    const char* const kPaths[][2] = {
        {"C:\\Tools\\Quorvil.exe", "C:\\Tools\\Quorvil.rpt"}, {"C:\\Tools\\Quorvil", "C:\\Tools\\Quorvil.rpt"},
        {"C:\\v2.01\\Quorvil", "C:\\v2.01\\Quorvil.rpt"},     {"C:\\表\\Quorvil.x.exe", "C:\\表\\Quorvil.x.rpt"},
        {kFits.c_str(), kFitsReport.c_str()},                 {kTooLong.c_str(), ""},
    };
    for (const auto& path : kPaths) {
        char report[MAX_PATH];
        EXPECT_EQ(ReportPathFor(path[0], report), path[1][0] != '\0');
        EXPECT_STREQ(report, path[1]);
    }
}

}  // namespace
