// Files written by the exporter, merged by the system's registry editor ("regedit /s"), must
// give exactly the entries that were exported.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/reg_file.h"
#include "tests/formats/entry_samples.h"
#include "tests/support/list_view_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// Runs "regedit /s <path>" and waits for it; the exit code, or -1 when it could not be run.
int MergeWithRegistryEditor(const std::string& path) {
    std::string command = "regedit.exe /s \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

class RegeditInteropTest : public ListViewTest {
protected:
    RegistryKeyGuard registry_;
    TempDir dir_;
};

}  // namespace

TEST_F(RegeditInteropTest, RegistryEditorMergesExportedEntriesExactly) {
    EntrySequence tricky = TrickyEntries();
    std::vector<std::string> expectedNames;
    for (const MenuExtEntry& e : tricky) expectedNames.push_back(e.name);
    // A name with a backslash makes a key two levels down.
    tricky.push_back(MakeEntry("Two\\Levels", "C:\\two.htm", 1, 0));
    expectedNames.push_back("Two");
    for (const MenuExtEntry& e : tricky) ASSERT_EQ(list_.AddEntry(&e), 0) << e.name;
    std::string path = dir_.File("merge me.reg");
    ASSERT_EQ(ExportRegFile(list_, path.c_str(), 0, 0), 0);
    ASSERT_EQ(MergeWithRegistryEditor(path), 0);

    std::vector<std::string> names = RegistryKeyGuard::SubkeyNames();
    std::sort(expectedNames.begin(), expectedNames.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expectedNames);

    for (const MenuExtEntry& e : tricky) {
        SCOPED_TRACE(e.name);
        std::string target;
        DWORD contexts = 0, flags = 0;
        ASSERT_TRUE(RegistryKeyGuard::ReadSubkey(e.name, &target, &contexts, &flags));
        EXPECT_EQ(target, e.target);
        EXPECT_EQ(contexts, e.contexts);
        EXPECT_EQ(flags, e.flags);
    }
}
