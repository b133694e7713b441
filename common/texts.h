// Every text the program shows or writes for the user, defined once so that the code and the
// tests share it and nobody retypes a Japanese sentence. The dialog templates hold their own
// control texts.
#pragma once

constexpr const char kAppCaption[] = "Quorvil";

// Start-up.
constexpr const char kRegistryReadFailed[] = "レジストリの読み込みが正常に行えませんでした。";
constexpr const char kDuplicatesNotLoaded[] =
    "いくつかの項目は既に同名の項目が存在したため、読み込まれませんでした。";
constexpr const char kRestoreDisabledCaption[] = "無効アイテムの復元";
constexpr const char kMainWindowNotCreated[] = "メインウィンドウを作成できませんでした。";

// The entry list: column headers in column order, and the letters of the seven contexts in
// the order of their bits (0x01 first), each one double-byte character.
constexpr const char kColumnName[] = "名前";
constexpr const char kColumnContexts[] = "Contexts";
constexpr const char kColumnFlags[] = "Flags";
constexpr const char kColumnFile[] = "ファイル";
constexpr const char* const kContextLetters[] = {"常", "絵", "コ", "表", "選", "リ", "？"};

// Commands of the main window.
constexpr const char kUpdateQuestion[] = "レジストリを更新します。\nよろしいですか？";
constexpr const char kRegistryUpdateFailed[] = "レジストリの更新に失敗しました。";
constexpr const char kDisabledNotSaved[] =
    "無効アイテムを保存できませんでした。\n無効にした項目は次回の起動時に復元されません。";
constexpr const char kOverwriteQuestion[] = "ファイルは既に存在します。上書きしますか？";
constexpr const char kFileNotSaved[] = "ファイルを保存できませんでした。";
constexpr const char kFileNotRead[] = "正常に読み込めませんでした。";
constexpr const char kReadFileCaption[] = "ファイルの読み込み";
constexpr const char kUnrepresentableNotLoaded[] =
    "いくつかの項目は使用できない文字を含むため、読み込まれませんでした。";
constexpr const char kTooManyEntries[] = "32個以上の項目が存在します。\n33個目以降はIEで利用できません。";
constexpr const char kDeleteQuestion[] = "選択アイテムを削除してもよろしいですか？";

// The filter list of the load and save prompts, as the platform takes it: pairs of display
// text and pattern, closed by an extra zero. Index 1 is CSV, index 2 REGEDIT4.
constexpr const char kFileFilter[] = "CSV File(*.csv)\0*.csv\0Registry File(*.reg)\0*.reg\0";
// The path edit's filter list when its owner gives none.
constexpr const char kAllFilesFilter[] = "全てのファイル(*.*)\0*.*\0";

// What the edit dialog tells the user about input it refuses, in the order it checks.
constexpr const char kNameUnusable[] = "名前に使用できない文字が含まれています。";
constexpr const char kTargetUnusable[] = "ファイル名に使用できない文字が含まれています。";
constexpr const char kNameEmpty[] = "名前が空欄です。";
constexpr const char kNameStartsWithBackslash[] = "名前は \\ で始められません。";
constexpr const char kNameExists[] = "指定の名前の項目は既に存在します。\n（大小文字の区別はありません）";
constexpr const char kTargetEmpty[] = "ファイルが空欄です。";
constexpr const char kNameTooLong[] = "名前が長すぎます。（全角32文字・半角64文字まで）";
constexpr const char kTargetTooLong[] = "ファイル名が長すぎます。（全角129文字・半角259文字まで）";

// The version dialog and the report file.
constexpr const char kGatheringSystemInfo[] = "システム情報の取得中...";
constexpr const char kReportCaption[] = "レポート作成";
constexpr const char kReportFailed[] = "レポートを作成できませんでした。";
// %s: the report's path.
constexpr const char kReportCreatedFormat[] = "レポートファイル\n\n    %s\n\nを作成しました。";
constexpr const char kReportHeader[] =
    "不具合報告の際は以下の内容を一緒にご連絡ください。\r\n\r\n"
    "--------------------------------------------------\r\n";
constexpr const char kReportFooter[] = "--------------------------------------------------\r\n";

// The lines of the system information, as wsprintfA formats; a tab before the colon lines the
// colons up in the list and, expanded, in the report.
constexpr const char kInfoApplication[] = "アプリケーション\t: %s";
constexpr const char kInfoOsName[] = "OS名\t\t: %s";
constexpr const char kInfoOsVersion[] = "OSバージョン\t: %d.%d Build %d";
constexpr const char kInfoInternetExplorer[] = "Internet Explorer\t: %d.%02d.%04d.%04d";
constexpr const char kInfoDll[] = "%s\t: %d.%d";
constexpr const char kInfoDirectX[] = "DirectX\t\t: %d.%02d.%02d.%04d";
constexpr const char kInfoScreen[] = "画面\t\t: %dx%d %dbit";
constexpr const char kInfoCpuClock[] = "CPU\t\t: %s / %d.%02d MHz";
constexpr const char kInfoCpuNoClock[] = "CPU\t\t: %s / ??? MHz";
constexpr const char kInfoCpuType[] = "\t\t: Type:%d / Family:%d";
constexpr const char kInfoCpuModel[] = "\t\t: Model:%d / Stepping:%d";
// %s: the feature, then kInfoFeatureMissing or nothing.
constexpr const char kInfoCpuFeature[] = "\t\t: %s\t%sSupport";
constexpr const char kInfoFeatureMissing[] = "Not ";
constexpr const char kInfoFreeMemory[] = "物理空きメモリ\t: %d KB";
constexpr const char kInfoTotalMemory[] = "利用可能メモリ\t: %d KB";
constexpr const char kInfoResources[] = "リソース\t\t: SYS %d%% / USER %d%% / GDI %d%%";
