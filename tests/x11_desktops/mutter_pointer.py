#!/usr/bin/python3
"""A left-button drag made with Mutter's own input, for the GNOME Wayland session.

In a Wayland session XTest reaches the X clients through XWayland but not the
compositor, so the window manager's move that a drag starts never sees the
pointer travel. Mutter's RemoteDesktop interface on the session bus injects
pointer events into the compositor itself.

    mutter_pointer.py PRESS_X PRESS_Y STEP_X STEP_Y STEPS

moves the pointer to (PRESS_X, PRESS_Y) (screen pixels), presses the left
button, moves STEPS times by (STEP_X, STEP_Y) and releases. The remote desktop
session lives as long as this process's bus connection, so one process makes
the whole gesture. Exits 0 once every event was accepted.
"""

import sys
import time

from gi.repository import Gio, GLib

BUS_NAME = "org.gnome.Mutter.RemoteDesktop"
# Linux input event code of the left button (BTN_LEFT).
BTN_LEFT = 272
# Far enough to reach the top-left corner from anywhere on the screen
# (pixels): relative motion is clipped at the screen edge.
TO_CORNER = -100000.0
# Time given to the compositor to take in one event before the next (s).
# The events carry no reply that says they were handled; the test checks the
# outcome on the X server.
EVENT_PACE_SECONDS = 0.05
CALL_TIMEOUT_MS = 5000


def proxy(bus, path, interface):
    return Gio.DBusProxy.new_sync(bus, Gio.DBusProxyFlags.DO_NOT_LOAD_PROPERTIES, None,
                                  BUS_NAME, path, interface, None)


def call(target, method, signature=None, *args):
    params = GLib.Variant(signature, args) if signature else None
    return target.call_sync(method, params, Gio.DBusCallFlags.NONE, CALL_TIMEOUT_MS, None)


def main(argv):
    if len(argv) != 6:
        print(__doc__, file=sys.stderr)
        return 2
    press_x, press_y, step_x, step_y = (float(a) for a in argv[1:5])
    steps = int(argv[5])

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    remote = proxy(bus, "/org/gnome/Mutter/RemoteDesktop", BUS_NAME)
    (session_path,) = call(remote, "CreateSession").unpack()
    session = proxy(bus, session_path, BUS_NAME + ".Session")
    call(session, "Start")

    def motion(dx, dy):
        call(session, "NotifyPointerMotionRelative", "(dd)", dx, dy)
        time.sleep(EVENT_PACE_SECONDS)

    def button(pressed):
        call(session, "NotifyPointerButton", "(ib)", BTN_LEFT, pressed)
        time.sleep(EVENT_PACE_SECONDS)

    try:
        motion(TO_CORNER, TO_CORNER)
        motion(press_x, press_y)
        button(True)
        for _ in range(steps):
            motion(step_x, step_y)
        button(False)
    finally:
        call(session, "Stop")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
