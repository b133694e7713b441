// The commands of the main window, one file per concern; commands.cpp maps identifiers to them.
#pragma once

#include <windows.h>

constexpr char kHelpFileName[] = "Quorvil.chm";

// exit_commands.cpp. The two procedures give true to go on and false to stop.
bool UpdateProcedure(HWND dialog);
bool ExitWithUpdateProcedure(HWND dialog);
void UpdateCommand(HWND dialog);
void ExitWithUpdateCommand(HWND dialog);
void ExitWithoutUpdateCommand(HWND dialog);
void HelpCommand(HWND dialog);

// file_commands.cpp
void LoadCommand(HWND dialog);
void SaveSelectedCommand(HWND dialog);
void SaveAllCommand(HWND dialog);
void DropFiles(HWND dialog, HDROP drop);

// The open and save prompts (PromptOpenFile and PromptSaveFile) as the file commands call
// them; tests answer them instead of a person. nullptr restores the real prompt.
using FilePrompt = int (*)(HWND owner, char* buffer, const char* filter, int filterIndex);
void SetFilePrompts(FilePrompt open, FilePrompt save);

// item_commands.cpp
void DeleteCommand(HWND dialog);
void EnableSelectedCommand(HWND dialog);
void DisableSelectedCommand(HWND dialog);
void InvertSelectedCommand(HWND dialog);
void SortByCheckCommand(HWND dialog);
void MoveUpCommand(HWND dialog);
void MoveDownCommand(HWND dialog);
void SelectAllCommand(HWND dialog);

// dialog_commands.cpp: the commands that open the edit and options dialogs.
void AddCommand(HWND dialog);
void EditCommand(HWND dialog);
void GeneralSettingsCommand(HWND dialog);

// Enables or disables the entry at `index` as a click of its check box does: marks the list
// changed and, with DisBottom, moves a disabled entry to the end (item_commands.cpp).
void SetEntryEnabled(HWND dialog, int index, bool enabled);
