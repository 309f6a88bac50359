# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
"""Prints "bell" for every bell rung on the X display in $DISPLAY, as it rings, through XKB's
bell notifications (a core Bell request raises one too). Prints "ready" once it listens."""
import ctypes
import sys

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
xlib.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]

XKB_USE_CORE_KBD = 0x100
XKB_BELL_NOTIFY = 8
XKB_BELL_NOTIFY_MASK = 1 << XKB_BELL_NOTIFY


class XkbAnyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("time", ctypes.c_ulong), ("xkb_type", ctypes.c_int)]


display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
opcode, event_base, error_base = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
major, minor = ctypes.c_int(1), ctypes.c_int(0)
if not xlib.XkbQueryExtension(display, opcode, event_base, error_base, major, minor):
    sys.exit("no XKB on the display")
xlib.XkbSelectEvents(display, XKB_USE_CORE_KBD, XKB_BELL_NOTIFY_MASK, XKB_BELL_NOTIFY_MASK)
xlib.XSync(display, 0)
print("ready", flush=True)
event = ctypes.create_string_buffer(192)  # sizeof(XEvent)
while True:
    xlib.XNextEvent(display, event)
    any_event = XkbAnyEvent.from_buffer(event)
    if any_event.type == event_base.value and any_event.xkb_type == XKB_BELL_NOTIFY:
        print("bell", flush=True)
