// Texts the main window shows, defined once so the code and the tests share them.
#pragma once

constexpr const char kAppCaption[] = "Quorvil";

constexpr const char kRegistryReadFailed[] = "レジストリの読み込みが正常に行えませんでした。";
constexpr const char kDuplicatesNotLoaded[] =
    "いくつかの項目は既に同名の項目が存在したため、読み込まれませんでした。";
constexpr const char kRestoreDisabledCaption[] = "無効アイテムの復元";
constexpr const char kUnrepresentableNotLoaded[] =
    "いくつかの項目は使用できない文字を含むため、読み込まれませんでした。";
constexpr const char kFileLoadCaption[] = "ファイルの読み込み";
constexpr const char kMainWindowNotCreated[] = "メインウィンドウを作成できませんでした。";

// Column headers of the entry list, in column order.
constexpr const char kColumnName[] = "名前";
constexpr const char kColumnContexts[] = "Contexts";
constexpr const char kColumnFlags[] = "Flags";
constexpr const char kColumnFile[] = "ファイル";
