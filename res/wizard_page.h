// What every page of the Retrace Wizard has: its size, a child with a
// caption (the page's title), and the black panel down its left side.
#define WIZARD_PAGE(id, title) \
    id DIALOGEX 0, 0, 292, 157 \
    STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION \
    CAPTION title \
    FONT DIALOG_FONT
#define WIZARD_PANEL CONTROL "", -1, "Static", SS_BLACKRECT, 5, 5, 50, 145
