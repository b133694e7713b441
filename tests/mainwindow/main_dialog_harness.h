// Creates the real main dialog in-process, from a prepared registry, Disable.dat and
// settings file in a folder of its own, and gives tests its MainWindow state.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/menu_ext_entry.h"
#include "mainwindow/main_window.h"
#include "tests/support/message_box_interceptor.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/temp_dir.h"

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a key=value line to the user's section "<user>/<suffix>" of Quorvil.ini.
    void SetSetting(const char* suffix, const char* key, const std::string& value);
    // Writes `entries` to Disable.dat as the REGEDIT4 text the program writes, and their
    // positions (for example "1,3"; nullptr: none stored) as DisableItemPos.
    void WriteDisabledFile(const std::vector<MenuExtEntry>& entries, const char* positions);
    // MenuExt subkeys "<prefix>000", "<prefix>001" ... with targets C:\<name>.htm.
    static void AddRegistryEntries(int count, const char* prefix = "E");

    // Creates dialog 4000 with MainDialogProc, as the entry point does, and lets it settle.
    HWND Open();
    // Sends WM_CLOSE and lets the window go away.
    void Close();
    // Dispatches whatever is queued for this thread; a WM_QUIT posted by the dialog is dropped.
    void Pump();

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    int RowCount() const;
    int StateImage(int row) const;
    void SetStateImage(int row, int image);
    std::string Names() const;  // entry names in list order, joined by blanks

    std::string IniPath() const { return folder_.File("Quorvil.ini"); }
    std::string DisabledPath() const { return folder_.File("Disable.dat"); }
    // A value of the user's section as text; "<none>" when the key is missing.
    std::string ReadSetting(const char* suffix, const char* key) const;

    RegistryKeyGuard registry_;
    TempDir folder_;
    MessageBoxInterceptor boxes_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;

private:
    void WriteIni();
    std::string Section(const char* suffix) const;

    std::map<std::string, std::string> sections_;
};

MenuExtEntry DisabledEntry(const char* name, uint32_t contexts = 0, uint32_t flags = 0);
