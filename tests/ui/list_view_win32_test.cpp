// The list operations against a real report-view list in a shown window.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/ui/test_window_win32.h"
#include "ui/list_view_win32.h"

namespace {
constexpr int listId = 1001, otherListId = 1002;

struct Row {
    const char* name;
    const char* count;
    const char* date;
    int value;
};

// Inserted in this order, each at the top, as the program fills its lists.
const Row rows[] = {
    {"Notepad", "9", "03/19/98", 10},
    {"winword", "100", "01/01/80", 11},
    {"Explorer", "10", "12/07/26", 12},
    {"calc", "0", "12/31/99", 13},
};

// Every case runs on a list that holds its rows and on one whose rows the
// toolkit keeps (LVS_OWNERDATA), as the program's dialogs have.
class ListView : public testing::TestWithParam<DWORD> {
protected:
    void SetUp() override {
        window.addList(listId, 10, 10, 460, 200, GetParam());
        window.addList(otherListId, 10, 220, 460, 100, GetParam());
        for (int id : {listId, otherListId}) {
            insertListColumn(window, id, "Program", 0, 80);
            insertListColumn(window, id, "Files", 1, 60);
            insertListColumn(window, id, "Date", 2, 80);
            for (const Row& row : rows) {
                insertListItem(window, id, -1, row.name, 0, row.value);
                setListSubItem(window, id, row.count, 0, 1);
                setListSubItem(window, id, row.date, 0, 2);
            }
        }
    }

    // The hidden values of the rows from the top.
    std::vector<int> values(int id = listId) const {
        std::vector<int> found;
        for (int row = 0; row < ListView_GetItemCount(GetDlgItem(window, id)); ++row)
            found.push_back(listItemParam(window, id, row));
        return found;
    }

    std::vector<int> sortedBy(int column, int id = listId) const {
        sortListByColumn(window, id, column);
        return values(id);
    }

    int columnWidth(int column) const { return ListView_GetColumnWidth(GetDlgItem(window, listId), column); }
    int textWidth(const char* text) const {
        return int(SendMessageA(GetDlgItem(window, listId), LVM_GETSTRINGWIDTHA, 0, LPARAM(text)));
    }

    TestWindow window{100, 100, 500, 380};
};

using Values = std::vector<int>;
}  // namespace

TEST_P(ListView, RowsInsertedAtTheTopCarryTheirTextsAndValues) {
    EXPECT_EQ(values(), (Values{13, 12, 11, 10}));
    EXPECT_EQ(listItemText(window, listId, 0, 0), "calc");
    EXPECT_EQ(listItemText(window, listId, 1, 1), "10");
    EXPECT_EQ(listItemText(window, listId, 3, 2), "03/19/98");
    EXPECT_EQ(listItemText(window, listId, 9, 0), "");

    char header[32] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_FMT;
    column.pszText = header;
    column.cchTextMax = sizeof header;
    SendMessageA(GetDlgItem(window, listId), LVM_GETCOLUMNA, 1, LPARAM(&column));
    EXPECT_STREQ(header, "Files");
    EXPECT_EQ(column.iSubItem, 1);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
}

TEST_P(ListView, ARowGetsTheImageItIsGiven) {
    insertListItem(window, listId, 3, "with image", 1, 20);
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    SendMessageA(GetDlgItem(window, listId), LVM_GETITEMA, 0, LPARAM(&item));
    EXPECT_EQ(item.iImage, 3);
}

TEST_P(ListView, ACellTextLongerThanAPathIsReadWhole) {
    std::string longText(1500, 'w');
    setListSubItem(window, listId, longText, 2, 2);
    EXPECT_EQ(listItemText(window, listId, 2, 2), longText);
}

TEST_P(ListView, TheValueOfRowMinusOneIsMinusOneAndSoIsThatOfARowNotThere) {
    EXPECT_EQ(listItemParam(nullptr, listId, -1), -1);  // asks no list
    EXPECT_EQ(listItemParam(window, listId, -1), -1);
    EXPECT_EQ(listItemParam(window, listId, 4), -1);
    EXPECT_EQ(listItemParam(window, 999, 0), -1);
    insertListItem(window, listId, -1, "zero", 0, 0);
    EXPECT_EQ(listItemParam(window, listId, 0), 0);
}

TEST_P(ListView, AListThatDoesNotExistIsLeftAlone) {
    insertListColumn(window, 999, "None", 0, 50);
    insertListItem(window, 999, -1, "none", 0, 1);
    setListSubItem(window, 999, "none", 0, 0);
    EXPECT_FALSE(fitListColumn(window, 999, 0));
    sortListByColumn(window, 999, 0);
    EXPECT_EQ(listRowUnderPointer(window, 999), -1);
    EXPECT_EQ(listItemText(window, 999, 0, 0), "");
}

TEST_P(ListView, AColumnKeepsItsHeadersWidthUntilALongerTextWidensIt) {
    const char* header = "Program that made the change";
    insertListColumn(window, listId, header, 0, 10);
    fitListColumn(window, listId, 0);
    int headerFit = columnWidth(0);
    EXPECT_GE(headerFit, textWidth(header));
    EXPECT_LT(headerFit, textWidth(header) + 40);

    const char* longer = "A program name a great deal longer than the header of its column";
    setListSubItem(window, listId, longer, 1, 0);
    EXPECT_GE(columnWidth(0), textWidth(longer));
    EXPECT_GT(columnWidth(0), headerFit);
}

TEST_P(ListView, EveryTextSetRefitsItsColumnButTheLastFillsTheList) {
    setListSubItem(window, listId, "A long file count column text", 0, 1);
    EXPECT_GE(columnWidth(1), textWidth("A long file count column text"));
    RECT client;
    GetClientRect(GetDlgItem(window, listId), &client);
    EXPECT_GE(columnWidth(0) + columnWidth(1) + columnWidth(2), client.right - 1);
}

TEST_P(ListView, TheSameHeaderClickedAgainTogglesAndAnotherStartsAscending) {
    EXPECT_EQ(sortedBy(1), (Values{13, 10, 12, 11}));  // 0, 9, 10, 100
    EXPECT_EQ(sortedBy(1), (Values{11, 12, 10, 13}));
    EXPECT_EQ(sortedBy(1), (Values{13, 10, 12, 11}));
    EXPECT_EQ(sortedBy(1), (Values{11, 12, 10, 13}));
    EXPECT_EQ(sortedBy(0), (Values{13, 12, 10, 11}));  // calc, Explorer, Notepad, winword
    EXPECT_EQ(sortedBy(0), (Values{11, 10, 12, 13}));
    EXPECT_EQ(sortedBy(2), (Values{11, 10, 12, 13}));  // month first: 01/01/80, 03/19/98, 12/07/26, 12/31/99
    EXPECT_EQ(sortedBy(2), (Values{13, 12, 10, 11}));
}

TEST_P(ListView, AnotherListClickedBetweenStartsItsOwnColumnAscending) {
    EXPECT_EQ(sortedBy(0), (Values{13, 12, 10, 11}));
    EXPECT_EQ(sortedBy(0, otherListId), (Values{13, 12, 10, 11}));
    EXPECT_EQ(sortedBy(0), (Values{13, 12, 10, 11}));
    EXPECT_EQ(sortedBy(0), (Values{11, 10, 12, 13}));
}

TEST_P(ListView, OneCellThatIsNotAPlainNumberSortsTheColumnAsText) {
    setListSubItem(window, listId, "007", 0, 1);  // calc's 0
    EXPECT_EQ(sortedBy(1), (Values{13, 12, 11, 10}));  // 007, 10, 100, 9
}

namespace {
// Makes `point` of the list the pointer position of the message being
// handled, as a double click there would. The display may move the pointer
// back a moment after it is set, so this goes on until a message has it.
void handleMessageAt(HWND list, POINT point) {
    ClientToScreen(list, &point);
    for (int attempt = 0; attempt < 100; ++attempt) {
        SetCursorPos(point.x, point.y);
        PostMessageA(list, WM_NULL, 0, 0);
        MSG message;
        while (!PeekMessageA(&message, list, WM_NULL, WM_NULL, PM_REMOVE)) Sleep(1);
        DWORD position = GetMessagePos();
        if (short(LOWORD(position)) == point.x && short(HIWORD(position)) == point.y) return;
        Sleep(10);
    }
    ADD_FAILURE() << "the pointer did not stay at " << point.x << ", " << point.y;
}
}  // namespace

TEST_P(ListView, ThePointerAnywhereAlongARowFindsThatRowAndBelowTheLastFindsNone) {
    HWND list = GetDlgItem(window, listId);
    RECT cell{};
    cell.top = 2;  // the third column
    cell.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, 1, LPARAM(&cell));
    handleMessageAt(list, {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
    EXPECT_EQ(listRowUnderPointer(window, listId), 1);

    RECT last{};
    last.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 3, LPARAM(&last));
    handleMessageAt(list, {40, last.bottom + 10});
    EXPECT_EQ(listRowUnderPointer(window, listId), -1);
}

TEST_P(ListView, SortingKeepsTheChosenRowsChosenWhereTheyMove) {
    HWND list = GetDlgItem(window, listId);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);  // Explorer, 12
    EXPECT_EQ(sortedBy(0), (Values{13, 12, 10, 11}));
    EXPECT_EQ(selectedListRows(window, listId), std::vector<int>{1});
    EXPECT_EQ(sortedBy(0), (Values{11, 10, 12, 13}));
    EXPECT_EQ(selectedListRows(window, listId), std::vector<int>{2});
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 2);
}

TEST_P(ListView, ManyRowsAppendedAtOnceReadBackInOrderAndEmptyingTheListForgetsThem) {
    std::vector<ListRow> many;
    for (int k = 0; k < 500; ++k) many.push_back({{"file" + std::to_string(k) + ".txt", std::to_string(k)}, 100 + k});
    ListView_DeleteAllItems(GetDlgItem(window, listId));
    appendListRows(window, listId, many);
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(window, listId)), 500);
    EXPECT_EQ(listItemText(window, listId, 499, 0), "file499.txt");
    EXPECT_EQ(listItemParam(window, listId, 250), 350);
    EXPECT_EQ(sortedBy(1).front(), 100);  // by value: 0 first
    EXPECT_GE(columnWidth(0), textWidth("file499.txt"));
    ListView_DeleteAllItems(GetDlgItem(window, listId));
    EXPECT_EQ(listItemParam(window, listId, 0), -1);
    appendListRows(window, listId, std::span(many).first(1));
    EXPECT_EQ(listItemText(window, listId, 0, 0), "file0.txt");
}

INSTANTIATE_TEST_SUITE_P(RowsHeldByTheList, ListView, testing::Values(DWORD(0)));
INSTANTIATE_TEST_SUITE_P(RowsKeptByTheToolkit, ListView, testing::Values(DWORD(LVS_OWNERDATA)));

TEST(FileIcons, AFileHasASmallAndALargeIcon) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    FileIcons icons = fileIcons(program);
    ASSERT_NE(icons.smallIcon(), nullptr);
    ASSERT_NE(icons.largeIcon(), nullptr);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icons.smallIcon(), &info));
    BITMAP mask;
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

namespace {
std::vector<uint8_t> iconPixels(HICON icon) {
    ICONINFO info{};
    GetIconInfo(icon, &info);
    BITMAP picture{};
    GetObjectA(info.hbmColor, sizeof picture, &picture);
    std::vector<uint8_t> pixels(size_t(picture.bmWidthBytes) * picture.bmHeight);
    GetBitmapBits(info.hbmColor, LONG(pixels.size()), pixels.data());
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return pixels;
}
}  // namespace

TEST(FileIcons, AFileThatIsGoneGetsTheShellProgramsIcon) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    FileIcons shell = fileIcons(std::string(windows) + "\\explorer.exe");
    FileIcons gone = fileIcons("C:\\no such folder\\gone.exe");
    ASSERT_NE(gone.smallIcon(), nullptr);
    EXPECT_EQ(iconPixels(gone.smallIcon()), iconPixels(shell.smallIcon()));
    EXPECT_FALSE(iconPixels(gone.smallIcon()).empty());
}
