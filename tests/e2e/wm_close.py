#!/usr/bin/env python3
"""Asks a window to close as a window manager does: a WM_DELETE_WINDOW client
message (what a title bar's close button sends). Xvfb runs no manager, and
xdotool can only destroy a window or kill its client.
    tests/e2e/wm_close.py WINDOW-ID        (on $DISPLAY)"""
import ctypes
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):  # XEvent: 24 longs whatever the kind
    _fields_ = [("message", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    window = int(sys.argv[1], 0)
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("wm_close: cannot open the display")
    event = Event()
    m = event.message
    m.type = 33  # ClientMessage
    m.window = window
    m.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    m.format = 32
    m.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    m.data[1] = 0  # CurrentTime
    if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        sys.exit("wm_close: the message was not sent")
    x11.XFlush(display)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
