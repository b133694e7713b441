// The real version dialog, run modally and worked from inside its loop: expanding and
// collapsing, the ways it closes, and the report file beside the test executable.
#include "about/about_dialog.h"

#include <string>

#include <gtest/gtest.h>

#include "about/about_texts.h"
#include "about/report_file.h"
#include "resources/resource.h"
#include "tests/support/message_box_interceptor.h"
#include "tests/support/modal_script.h"
#include "tests/support/temp_dir.h"

namespace {

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
        for (; boxes < boxes_.Boxes().size(); ++boxes) {
            const InterceptedBox& box = boxes_.Boxes()[boxes];
            g_seen += box.caption + "/" + std::to_string(box.style) + "/" + box.text;
        }
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

TEST_F(AboutDialogTest, TheIconExpandsAndCollapsesAndAClickOrAKeyCloses) {
    auto height = [](HWND dialog) {
        RECT rect;
        GetWindowRect(dialog, &rect);
        return rect.bottom - rect.top;
    };
    auto press = [](WPARAM key) {
        return [key](HWND dialog) { return PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, key, 0), true; };
    };
    const struct {
        ModalScript::Step close;
        const char* seen;
    } kClosers[] = {{[](HWND dialog) { return Click(dialog, IDC_ABOUT_MAKER), true; }, ""},
                    {[](HWND dialog) { return Click(dialog, IDC_ABOUT_LINK), true; }, "Quorvil.chm;"},
                    {press(VK_RETURN), ""},
                    {press(VK_ESCAPE), ""}};
    LONG opening = 0;
    for (const auto& closer : kClosers) {
        std::vector<ModalScript::Step> steps = {[&](HWND dialog) {
            // Every opening starts small, whatever the one before ended as.
            EXPECT_EQ(height(dialog), opening ? opening : height(dialog));
            opening = height(dialog);
            Click(dialog, IDC_ABOUT_ICON);
            EXPECT_GT(height(dialog), opening + 100);
            EXPECT_EQ(Line(dialog, 0) + Line(dialog, 1), kGatheringSystemInfo + std::string("<none>"));
            return true;
        }};
        if (&closer == kClosers) {
            steps.push_back([&](HWND dialog) {
                if (Line(dialog, 0) == kGatheringSystemInfo) return false;
                EXPECT_EQ(Line(dialog, 0), "アプリケーション\t: Quorvil Version 2.01");
                // Wine is an NT system: 20 lines, no resources line.
                EXPECT_EQ(Line(dialog, 19).substr(0, 14) + Line(dialog, 20), "利用可能メモリ<none>");
                Click(dialog, IDC_ABOUT_ICON);
                EXPECT_EQ(height(dialog), opening);
                return true;
            });
        }
        steps.push_back(closer.close);
        EXPECT_EQ(Run(steps), closer.seen);
    }
}

TEST_F(AboutDialogTest, TheReportIsWrittenBesideTheExecutableOrTheFailureIsShown) {
    const std::string kWritten = std::string(kReportHeader) + "OS名" + std::string(18, ' ') + ": Windows XP\r\n" +
                                 std::string(22, ' ') + ": MMX" + std::string(6, ' ') + "Support\r\n" + kReportFooter;
    const std::string kOpened = "notepad " + report_ + ";";
    const struct {
        INT_PTR launchResult;
        bool blocked;  // a folder has the report's name
        std::string seen;
    } kCases[] = {
        {42, false, kOpened},
        {2, false, kOpened + "レポート作成/64/レポートファイル\n\n    " + report_ + "\n\nを作成しました。"},
        {42, true, "レポート作成/16/" + std::string(kReportFailed)},
    };
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
