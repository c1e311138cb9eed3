#!/usr/bin/env python3
"""Clicks the rightmost icon of the Wine desktop's notification area on
$DISPLAY, as a person would, through the X test extension; with --escape,
presses Escape instead, which closes a menu the click opened.

The Wine desktop is the 1024x768 one that common.sh sets up, at the top left
of the display; its taskbar runs along its bottom edge, and the notification
area ends at its right end."""
import ctypes
import sys

DESKTOP_WIDTH, DESKTOP_HEIGHT = 1024, 768
ICON_X, ICON_Y = DESKTOP_WIDTH - 14, DESKTOP_HEIGHT - 14

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtest = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
xtest.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtest.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
if "--escape" in sys.argv[1:]:
    escape = x11.XKeysymToKeycode(display, 0xFF1B)
    xtest.XTestFakeKeyEvent(display, escape, 1, 0)
    xtest.XTestFakeKeyEvent(display, escape, 0, 0)
else:
    xtest.XTestFakeMotionEvent(display, -1, ICON_X, ICON_Y, 0)
    xtest.XTestFakeButtonEvent(display, 1, 1, 0)
    xtest.XTestFakeButtonEvent(display, 1, 0, 0)
x11.XFlush(display)
x11.XCloseDisplay(display)
