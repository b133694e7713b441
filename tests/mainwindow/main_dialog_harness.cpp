#include "tests/mainwindow/main_dialog_harness.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/resource.h"

void MainDialogTest::SetUp() {
    entryList.listView = nullptr;
    entryList.Clear();
    ResetMainWindowState();
    snprintf(mainWindow.dataFolder, sizeof(mainWindow.dataFolder), "%s", folder_.Path().c_str());
}

void MainDialogTest::TearDown() {
    if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
    Pump();
    entryList.listView = nullptr;
    entryList.Clear();
    ResetMainWindowState();
    dialog_ = list_ = nullptr;
}

std::string MainDialogTest::Section(const char* suffix) const {
    return std::string(settingsStore.userName) + "/" + suffix;
}

void MainDialogTest::SetSetting(const char* suffix, const char* key, const std::string& value) {
    sections_[Section(suffix)] += std::string(key) + "=" + value + "\r\n";
    WriteIni();
}

void MainDialogTest::WriteIni() {
    std::string text;
    for (const auto& section : sections_) text += "[" + section.first + "]\r\n" + section.second;
    ASSERT_TRUE(TempDir::WriteFile(IniPath(), text));
}

void MainDialogTest::WriteDisabledFile(const std::vector<MenuExtEntry>& entries, const char* positions) {
    const char kParent[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt";
    std::string text = std::string("REGEDIT4\r\n\r\n[") + kParent + "]\r\n\r\n";
    for (const MenuExtEntry& e : entries) {
        std::string target;
        for (const char* p = e.target; *p; ++p) target += *p == '\\' ? std::string("\\\\") : std::string(1, *p);
        char numbers[96];
        snprintf(numbers, sizeof(numbers), "\"Contexts\"=dword:%08x\r\n\"Flags\"=dword:%08x\r\n\r\n",
                 static_cast<unsigned>(e.contexts), static_cast<unsigned>(e.flags));
        text += std::string("[") + kParent + "\\" + e.name + "]\r\n@=\"" + target + "\"\r\n" + numbers;
    }
    ASSERT_TRUE(TempDir::WriteFile(DisabledPath(), text));
    if (positions) SetSetting("List", "DisableItemPos", positions);
}

void MainDialogTest::AddRegistryEntries(int count, const char* prefix) {
    for (int i = 0; i < count; ++i) {
        char name[32], target[64];
        snprintf(name, sizeof(name), "%s%03d", prefix, i);
        snprintf(target, sizeof(target), "C:\\%s.htm", name);
        RegistryKeyGuard::CreateSubkey(name, target);
    }
}

HWND MainDialogTest::Open() {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    EXPECT_NE(dialog_, nullptr);
    list_ = Item(IDC_ENTRY_LIST);
    Pump();
    return dialog_;
}

void MainDialogTest::Close() {
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(dialog_));
}

void MainDialogTest::Pump() {
    MSG message;
    for (int i = 0; i < 10000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int MainDialogTest::RowCount() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

int MainDialogTest::StateImage(int row) const {
    return static_cast<int>((SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
}

void MainDialogTest::SetStateImage(int row, int image) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::string MainDialogTest::Names() const {
    std::string names;
    for (int i = 0; i < entryList.Count(); ++i) {
        MenuExtEntry e;
        entryList.GetEntryAt(i, &e);
        if (!names.empty()) names += ' ';
        names += e.name;
    }
    return names;
}

std::string MainDialogTest::ReadSetting(const char* suffix, const char* key) const {
    char value[256];
    GetPrivateProfileStringA(Section(suffix).c_str(), key, "<none>", value, sizeof(value), IniPath().c_str());
    return value;
}

MenuExtEntry DisabledEntry(const char* name, uint32_t contexts, uint32_t flags) {
    MenuExtEntry e = {};
    snprintf(e.name, sizeof(e.name), "%s", name);
    snprintf(e.target, sizeof(e.target), "C:\\%s.htm", name);
    e.contexts = contexts;
    e.flags = flags;
    return e;
}
