// Dialog 5000, in which one context-menu entry is typed or changed.
#pragma once

#include <windows.h>

// Works on mainWindow.editBuffer and mainWindow.editIndex: an empty name in editBuffer adds
// a new entry, any other name edits the entry at editIndex. Ends with IDOK once the input
// passed validation and editBuffer holds it, with IDCANCEL otherwise.
INT_PTR CALLBACK EditEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the dialog tells the user about input it refuses.
constexpr const char kNameUnusable[] = "名前に使用できない文字が含まれています。";
constexpr const char kTargetUnusable[] = "ファイル名に使用できない文字が含まれています。";
constexpr const char kNameEmpty[] = "名前が空欄です。";
constexpr const char kNameStartsWithBackslash[] = "名前は \\ で始められません。";
constexpr const char kNameExists[] = "指定の名前の項目は既に存在します。\n（大小文字の区別はありません）";
constexpr const char kTargetEmpty[] = "ファイルが空欄です。";
constexpr const char kNameTooLong[] = "名前が長すぎます。（全角32文字・半角64文字まで）";
constexpr const char kTargetTooLong[] = "ファイル名が長すぎます。（全角129文字・半角259文字まで）";
