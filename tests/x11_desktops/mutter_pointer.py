#!/usr/bin/python3
"""The pointer driven with Mutter's own input, for the GNOME Wayland session.

In a Wayland session XTest reaches the X clients through XWayland but not the
compositor, so the window manager's move that a drag starts never sees the
pointer travel. Mutter's RemoteDesktop interface on the session bus injects
pointer events into the compositor itself.

    mutter_pointer.py

reads one command per line on stdin and answers "ok" on stdout once Mutter
has accepted the event, or "error MESSAGE" when it has not:

    moveto X Y    moves the pointer to (X, Y) (screen pixels)
    move DX DY    moves the pointer by (DX, DY) (pixels)
    press         presses the left button
    release       releases the left button

The caller waits for what an event should lead to before it sends the next
one, as a hand watching the screen does; nothing here waits on a clock. The
remote desktop session lives as long as this process's bus connection, so
one process makes the whole gesture; it ends at the end of stdin.
"""

import sys

from gi.repository import Gio, GLib

BUS_NAME = "org.gnome.Mutter.RemoteDesktop"
# Linux input event code of the left button (BTN_LEFT).
BTN_LEFT = 272
# Far enough to reach the top-left corner from anywhere on the screen
# (pixels): relative motion is clipped at the screen edge.
TO_CORNER = -100000.0
CALL_TIMEOUT_MS = 5000


def proxy(bus, path, interface):
    return Gio.DBusProxy.new_sync(bus, Gio.DBusProxyFlags.DO_NOT_LOAD_PROPERTIES, None,
                                  BUS_NAME, path, interface, None)


def call(target, method, signature=None, *args):
    params = GLib.Variant(signature, args) if signature else None
    return target.call_sync(method, params, Gio.DBusCallFlags.NONE, CALL_TIMEOUT_MS, None)


def run(session, words):
    def motion(dx, dy):
        call(session, "NotifyPointerMotionRelative", "(dd)", dx, dy)

    def button(pressed):
        call(session, "NotifyPointerButton", "(ib)", BTN_LEFT, pressed)

    if words[0] == "moveto" and len(words) == 3:
        motion(TO_CORNER, TO_CORNER)
        motion(float(words[1]), float(words[2]))
    elif words[0] == "move" and len(words) == 3:
        motion(float(words[1]), float(words[2]))
    elif words[0] == "press" and len(words) == 1:
        button(True)
    elif words[0] == "release" and len(words) == 1:
        button(False)
    else:
        raise ValueError("unknown command: " + " ".join(words))


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    remote = proxy(bus, "/org/gnome/Mutter/RemoteDesktop", BUS_NAME)
    (session_path,) = call(remote, "CreateSession").unpack()
    session = proxy(bus, session_path, BUS_NAME + ".Session")
    call(session, "Start")
    try:
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            try:
                run(session, words)
                print("ok", flush=True)
            except (GLib.Error, ValueError) as error:
                print("error", str(error).replace("\n", " "), flush=True)
    finally:
        call(session, "Stop")
    return 0


if __name__ == "__main__":
    sys.exit(main())
