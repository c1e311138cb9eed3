#pragma once
// "Retrace Options": the settings in six pages. Each page loads its own fresh
// settings when it is first shown and, on OK, loads them again, changes only
// its own fields and saves.

#include <windows.h>

#include <span>
#include <string>

// Runs the sheet, without owner, until the user closes it.
void showOptionsSheet();

// The pages' procedures, one file each.
INT_PTR CALLBACK settingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ignoreGroupsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ignoreFilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK fileListPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK informationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Stores the items joined with "|" in the field. When they do not fit, the
// field is left alone and a message titled `title` tells the user, who has
// to remove some; returns whether they fit.
bool storeListOrTell(HWND page, std::span<char> field, std::span<const std::string> items, const char* title);
