#!/usr/bin/python3
"""WebKitGTK, Safari's engine, for the print and page tests: one web view, driven by commands
read from stdin, one JSON object a line, each answered on stdout by one JSON line.

  {"open": URL}            loads the page, and answers once it has loaded
  {"run": BODY}            runs BODY as the body of an async function in the page, and answers
                           {"value": the string it returns}
  {"preload": SOURCE}       runs SOURCE in every page opened after, before the page's own script
  {"print": PATH, "paper": "A4" or "Letter", "margins": {"top": MM, ...}, "scale": PERCENT}
                           prints the page through GTK to a PDF at PATH; a margin left out is
                           GTK's default for the paper

Every answer holds "error" instead when the command failed. It needs a display (xvfb-run) and
Debian's python3-gi and gir1.2-webkit2-4.1; the sheet, which names no font, is set in Safari's
default, Times New Roman, where WebKitGTK's own would be sans-serif.
"""
import json
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

PAPERS = {"A4": Gtk.PAPER_NAME_A4, "Letter": Gtk.PAPER_NAME_LETTER}


def wait_for(start):
    """Runs the main loop until start's operation calls back done(answer)."""
    loop = GLib.MainLoop()
    answer = {}

    def done(**result):
        answer.update(result)
        loop.quit()

    start(done)
    loop.run()
    return answer


def open_page(view, url):
    def start(done):
        def changed(_view, event):
            if event == WebKit2.LoadEvent.FINISHED:
                view.disconnect(handlers[0])
                view.disconnect(handlers[1])
                done()

        def failed(_view, _event, _uri, error):
            done(error=error.message)
            return True

        handlers[:] = [view.connect("load-changed", changed), view.connect("load-failed", failed)]
        view.load_uri(url)

    handlers = []
    return wait_for(start)


def run_script(view, body):
    def start(done):
        def finished(_view, result):
            try:
                done(value=view.call_async_javascript_function_finish(result).to_string())
            except GLib.Error as error:
                done(error=error.message)

        view.call_async_javascript_function(body, -1, None, None, None, None, finished)

    return wait_for(start)


def print_page(view, path, paper, margins, scale):
    setup = Gtk.PageSetup()
    setup.set_paper_size_and_default_margins(Gtk.PaperSize.new(PAPERS[paper]))
    for side, millimetres in margins.items():
        getattr(setup, "set_%s_margin" % side)(millimetres, Gtk.Unit.MM)
    settings = Gtk.PrintSettings()
    settings.set_printer("Print to File")
    settings.set(Gtk.PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf")
    settings.set(Gtk.PRINT_SETTINGS_OUTPUT_URI, GLib.filename_to_uri(path))
    settings.set_scale(scale)

    def start(done):
        operation = WebKit2.PrintOperation.new(view)
        operation.set_page_setup(setup)
        operation.set_print_settings(settings)
        operation.connect("failed", lambda _operation, error: done(error=error.message))
        operation.connect("finished", lambda _operation: done())
        operation.print_()

    return wait_for(start)


def leave_when_asked(_view, dialog):
    """Leaving a page that asks first (an unsaved list) leaves, as the other engines' tests
    accept the question; any other dialog of the page's own is not shown."""
    if dialog.get_dialog_type() == WebKit2.ScriptDialogType.BEFORE_UNLOAD_CONFIRM:
        dialog.confirm_set_confirmed(True)
    return True


def main():
    view = WebKit2.WebView()
    view.get_settings().set_default_font_family("Times New Roman")
    view.connect("script-dialog", leave_when_asked)
    window = Gtk.OffscreenWindow()
    window.add(view)
    window.show_all()
    for line in sys.stdin:
        command = json.loads(line)
        if "open" in command:
            answer = open_page(view, command["open"])
        elif "run" in command:
            answer = run_script(view, command["run"])
        elif "preload" in command:
            view.get_user_content_manager().add_script(WebKit2.UserScript.new(
                command["preload"], WebKit2.UserContentInjectedFrames.TOP_FRAME,
                WebKit2.UserScriptInjectionTime.START, None, None))
            answer = {}
        else:
            answer = print_page(view, command["print"], command["paper"],
                                command.get("margins", {}), command.get("scale", 100))
        print(json.dumps(answer), flush=True)


main()
