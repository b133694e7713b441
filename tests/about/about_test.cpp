// The version dialog: the system lines from made-up machines and the report file's text
// functions; then the real dialog, run modally and worked from inside its loop: the system
// lines, the ways it closes, and the report file beside the test executable.
#include "about/about_dialog.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/texts.h"
#include "about/report_file.h"
#include "about/system_info.h"
#include "controls/hyperlink.h"
#include "resources/resource.h"
#include "tests/support/message_box_interceptor.h"
#include "tests/support/modal_script.h"
#include "tests/support/temp_dir.h"

// The program-wide instance the version dialog attaches; the main window defines it.
HyperLinkControl aboutLink;

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
    // Windows 11 still calls itself 10.0; NT versions the program does not know keep their numbers.
    const struct { OSVERSIONINFOA version; const char* name; } kCases[] = {
        {Version(0, 3, 10, 0), "Windows 3.1(Win32s)"}, {Version(1, 4, 10, 2222, "A"), "Windows 98 A"},
        {Version(2, 4, 0, 1381, "Service Pack 6"), "Windows NT4.0 Service Pack 6"},
        {Version(2, 10, 0, 21999), "Windows 10"}, {Version(2, 10, 0, 22000), "Windows 11"},
        {Version(2, 6, 4, 9841), "Windows NT6.4"}, {Version(3, 1, 0, 0), ""}};
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
    const struct { const char* version; uint64_t hertz; std::string ieLine, cpuLine; } kCases[] = {
        {"6.0.2600.0000", 733040000, "Internet Explorer\t: 6.00.2600.0000", "CPU\t\t: GenuineIntel / 733.04 MHz"},
        {"6.0", 5000000000u, "Internet Explorer\t: 6.00.0000.0000", "CPU\t\t: GenuineIntel / 5000.00 MHz"},
        {"", 0, "Internet Explorer\t: 0.00.0000.0000", "CPU\t\t: GenuineIntel / ??? MHz"}};
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
        {kFits.c_str(), kFitsReport.c_str()},                 {kTooLong.c_str(), ""}};
    for (const auto& path : kPaths) {
        char report[MAX_PATH];
        EXPECT_EQ(ReportPathFor(path[0], report), path[1][0] != '\0');
        EXPECT_STREQ(report, path[1]);
    }
}

std::string g_seen;  // launches and message boxes, in order
INT_PTR g_launchResult = 42;

HINSTANCE WINAPI RecordLaunch(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, INT) {
    g_seen += std::string(file) + (parameters ? " " + std::string(parameters) : "") + ";";
    return reinterpret_cast<HINSTANCE>(g_launchResult);
}

class AboutDialogTest : public testing::Test {
protected:
    void SetUp() override {
        linkShellExecute = reportShellExecute = RecordLaunch;
        char module[MAX_PATH];
        report_ = std::string(module, GetModuleFileNameA(nullptr, module, sizeof(module)) - 3) + "rpt";
    }
    void TearDown() override {
        linkShellExecute = reportShellExecute = ShellExecuteA;
        DeleteFileA(report_.c_str());
    }
    std::string Run(std::vector<ModalScript::Step> steps) {
        g_seen.clear();
        size_t boxes = boxes_.Boxes().size();
        ModalScript script("バージョン情報", std::move(steps));
        EXPECT_EQ(ShowAboutDialog(GetModuleHandleA(nullptr), nullptr), 1);
        EXPECT_TRUE(script.Finished());
        for (const std::string& box : boxes_.Shown(boxes)) g_seen += box;
        return g_seen;
    }
    static void Click(HWND dialog, int id) {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ScreenToClient(dialog, &centre);
        SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    }
    static std::string Line(HWND dialog, int index) {
        char line[1024] = "<none>";
        SendDlgItemMessageA(dialog, IDC_ABOUT_SYSTEM_LIST, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line));
        return line;
    }

    std::string report_;
    MessageBoxInterceptor boxes_;
};

TEST_F(AboutDialogTest, TheIconShowsTheSystemLinesAndAClickOrAKeyCloses) {
    const ModalScript::Step unfold = [](HWND dialog) {
        Click(dialog, IDC_ABOUT_ICON);
        EXPECT_EQ(Line(dialog, 0) + Line(dialog, 1), kGatheringSystemInfo + std::string("<none>"));
        return true;
    };
    const ModalScript::Step filled = [](HWND dialog) {
        if (Line(dialog, 0) == kGatheringSystemInfo) return false;
        EXPECT_EQ(Line(dialog, 0), "アプリケーション\t: Quorvil Version 2.01");
        // Wine is an NT system: 20 lines, no resources line.
        EXPECT_EQ(Line(dialog, 19).substr(0, 14) + Line(dialog, 20), "利用可能メモリ<none>");
        return true;
    };
    const struct { ModalScript::Step close; const char* seen; } kClosers[] = {
        {[](HWND dialog) { return Click(dialog, IDC_ABOUT_LINK), true; }, "Quorvil.chm;"},
        {[](HWND dialog) { return PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0), true; }, ""}};
    for (const auto& closer : kClosers) EXPECT_EQ(Run({unfold, filled, closer.close}), closer.seen);
}

TEST_F(AboutDialogTest, TheReportIsWrittenBesideTheExecutableOrTheFailureIsShown) {
    const std::string kWritten = std::string(kReportHeader) + "OS名" + std::string(18, ' ') + ": Windows XP\r\n" +
                                 std::string(22, ' ') + ": MMX" + std::string(6, ' ') + "Support\r\n" + kReportFooter;
    const std::string kOpened = "notepad " + report_ + ";";
    const struct { INT_PTR launchResult; bool blocked; std::string seen; } kCases[] = {  // blocked: by a folder
        {42, false, kOpened},
        {2, false,
         kOpened + Box("レポートファイル\n\n    " + report_ + "\n\nを作成しました。", "レポート作成", MB_ICONINFORMATION)},
        {42, true, Box(kReportFailed, "レポート作成", MB_ICONERROR)}};
    for (const auto& c : kCases) {
        g_launchResult = c.launchResult;
        DeleteFileA(report_.c_str());
        ASSERT_TRUE(!c.blocked || CreateDirectoryA(report_.c_str(), nullptr));
        EXPECT_EQ(Run({[](HWND dialog) {
                      for (const char* line : {"OS名\t\t: Windows XP", "\t\t: MMX\tSupport"})
                          SendDlgItemMessageA(dialog, IDC_ABOUT_SYSTEM_LIST, LB_INSERTSTRING, -1, (LPARAM)line);
                      SendDlgItemMessageA(dialog, IDC_ABOUT_REPORT, BM_CLICK, 0, 0);
                      return PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0), true;
                  }}),
                  c.seen);
        std::string written = "<none>";
        TempDir::ReadFile(report_, &written);
        EXPECT_EQ(written, c.blocked ? "<none>" : kWritten);
        RemoveDirectoryA(report_.c_str());
    }
}

}  // namespace
