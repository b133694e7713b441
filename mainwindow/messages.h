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

// Commands of the main window.
constexpr const char kUpdateQuestion[] = "レジストリを更新します。\nよろしいですか？";
constexpr const char kRegistryUpdateFailed[] = "レジストリの更新に失敗しました。";
constexpr const char kDisabledNotSaved[] =
    "無効アイテムを保存できませんでした。\n無効にした項目は次回の起動時に復元されません。";
constexpr const char kOverwriteQuestion[] = "ファイルは既に存在します。上書きしますか？";
constexpr const char kFileNotSaved[] = "ファイルを保存できませんでした。";
constexpr const char kFileNotRead[] = "正常に読み込めませんでした。";
constexpr const char kReadFileCaption[] = "ファイルの読み込み";
constexpr const char kTooManyEntries[] = "32個以上の項目が存在します。\n33個目以降はIEで利用できません。";
constexpr const char kDeleteQuestion[] = "選択アイテムを削除してもよろしいですか？";
