// Texts of the version dialog and of the report file, defined once so the code and the
// tests share them.
#pragma once

constexpr const char kGatheringSystemInfo[] = "システム情報の取得中...";
constexpr const char kReportCaption[] = "レポート作成";
constexpr const char kReportFailed[] = "レポートを作成できませんでした。";
// %s: the report's path.
constexpr const char kReportCreatedFormat[] = "レポートファイル\n\n    %s\n\nを作成しました。";

constexpr const char kReportHeader[] =
    "不具合報告の際は以下の内容を一緒にご連絡ください。\r\n\r\n"
    "--------------------------------------------------\r\n";
constexpr const char kReportFooter[] = "--------------------------------------------------\r\n";
constexpr const char kReportExtension[] = ".rpt";
