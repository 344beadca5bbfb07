#!/usr/bin/env python3
"""usage: portal_service.py CALLS ANSWER

A file chooser portal of the tests' own: on the session bus under the portal's name,
OpenFile returns its Request object's path at once and sends the object's Response
signal after, with ANSWER (a file URI, or "cancel"). Each call's title and options
go to CALLS as a JSON line; CALLS.ready appears once the name is owned."""
import json, sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL = "/org/freedesktop/portal/desktop"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class FileChooser(dbus.service.Object):
    def __init__(self, bus, calls, answer):
        super().__init__(bus, PORTAL)
        self.calls, self.answer, self.requests = calls, answer, []

    @dbus.service.method("org.freedesktop.portal.FileChooser", in_signature="ssa{sv}",
                         out_signature="o", sender_keyword="sender")
    def OpenFile(self, parent, title, options, sender):
        sender_part = sender[1:].replace(".", "_")
        path = f"{PORTAL}/request/{sender_part}/{options['handle_token']}"
        request = Request(self.connection, path)
        self.requests.append(request)
        folder = bytes(options.get("current_folder", b"")).rstrip(b"\0").decode()
        with open(self.calls, "a", encoding="utf-8") as calls:
            json.dump({"title": str(title), "filters": [[str(name), [str(p) for _, p in globs]]
                                                        for name, globs in options["filters"]],
                       "current_folder": folder}, calls, ensure_ascii=False)
            calls.write("\n")
        if self.answer == "cancel":
            reply = (dbus.UInt32(1), dbus.Dictionary({}, signature="sv"))
        else:
            uris = dbus.Array([self.answer], signature="s")
            reply = (dbus.UInt32(0), dbus.Dictionary({"uris": uris}, signature="sv"))
        GLib.timeout_add(50, lambda: request.Response(*reply) and False)
        return dbus.ObjectPath(path)


DBusGMainLoop(set_as_default=True)
BUS = dbus.SessionBus()
CHOOSER = FileChooser(BUS, sys.argv[1], sys.argv[2])
NAME = dbus.service.BusName("org.freedesktop.portal.Desktop", BUS)
open(sys.argv[1] + ".ready", "w").close()
GLib.MainLoop().run()
