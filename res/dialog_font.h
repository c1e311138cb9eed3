// The font of every dialog template.
#define DIALOG_FONT 8, "MS Sans Serif"
