// Writing the report file and opening it in Notepad.
#include "about/report_file.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "common/texts.h"
#include "common/message_box.h"
#include "shell/window_utils.h"

ShellExecuteProc reportShellExecute = ShellExecuteA;

namespace {

constexpr char kReportExtension[] = ".rpt";
// The shell's results up to this value are errors.
constexpr INT_PTR kLastShellError = 32;

bool WriteBytes(HANDLE file, const char* bytes, size_t length) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) && written == length;
}

// One line of the list with CR LF appended and its tabs expanded.
bool WriteListLine(HANDLE file, HWND list, int index) {
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) length = 0;
    std::vector<char> line(static_cast<size_t>(length) + 3, '\0');
    if (length > 0) SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    strcat(line.data(), "\r\n");
    std::vector<char> expanded(ExpandedSize(strlen(line.data()), kReportTabWidth));
    ExpandTabs(line.data(), expanded.data(), kReportTabWidth);
    return WriteBytes(file, expanded.data(), strlen(expanded.data()));
}

}  // namespace

int ExpandTabs(const char* source, char* destination, int tabWidth) {
    if (!source || !destination || tabWidth <= 0) return 0;
    int column = 0;
    char* out = destination;
    for (const char* in = source; *in != '\0'; ++in) {
        if (*in == '\t') {
            do {
                *out++ = ' ';
                ++column;
            } while (column % tabWidth != 0);
            continue;
        }
        *out++ = *in;
        column = *in == '\n' ? 0 : column + 1;
    }
    *out = '\0';
    return 1;
}

size_t ExpandedSize(size_t length, int tabWidth) {
    return length * static_cast<size_t>(tabWidth > 0 ? tabWidth : 1) + 1;
}

int ReportPathFor(const char* modulePath, char* reportPath) {
    reportPath[0] = '\0';
    // Only a dot of the file name itself counts, not one of a folder above it. A dot is below
    // 0x40, so it is never the second byte of a double-byte character.
    const char* dotted = strrchr(modulePath + LastSeparator(modulePath) + 1, '.');
    size_t dot = dotted ? static_cast<size_t>(dotted - modulePath) : strlen(modulePath);
    if (dot + sizeof(kReportExtension) > MAX_PATH) return 0;
    memcpy(reportPath, modulePath, dot);
    memcpy(reportPath + dot, kReportExtension, sizeof(kReportExtension));
    return 1;
}

int WriteReportFileAt(HWND dialog, int listId, const char* reportPath) {
    HANDLE file = CreateFileA(reportPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    HWND list = GetDlgItem(dialog, listId);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    // What was written before a failing write stays in the file.
    bool written = WriteBytes(file, kReportHeader, strlen(kReportHeader));
    for (int i = 0; written && i < count; ++i) written = WriteListLine(file, list, i);
    written = written && WriteBytes(file, kReportFooter, strlen(kReportFooter));
    CloseHandle(file);
    if (!written) return 0;

    HINSTANCE opened = reportShellExecute(dialog, nullptr, "notepad", reportPath, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(opened) <= kLastShellError) {
        // The report exists all the same; the user is told where.
        char message[MAX_PATH + sizeof(kReportCreatedFormat)];
        wsprintfA(message, kReportCreatedFormat, reportPath);
        ShowMessage(dialog, message, kReportCaption, MB_OK | MB_ICONINFORMATION);
    }
    return 1;
}

int WriteReportFile(HWND dialog, int listId) {
    // Without the long form the report goes beside the path the system reported.
    char executable[MAX_PATH], reportPath[MAX_PATH];
    if (!GetModulePath(executable) || !ReportPathFor(executable, reportPath)) return 0;
    return WriteReportFileAt(dialog, listId, reportPath);
}
