#!/usr/bin/python3
# The training bar's and the player panel's buttons as a screen reader meets them on the
# AT-SPI bus: each is listed with its name and description, and none is nameless (the bar's
# hidden sets included). Runs the staged trainer in a copy of its installation, on a private
# session bus: dbus-run-session -- tst_accessible.py
import os, shutil, subprocess, sys, tempfile, time
import pyatspi

work = tempfile.mkdtemp()
shutil.copytree(os.environ['ZORVA_STAGE_DIR'], work, dirs_exist_ok=True)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', ZORVA_UPDATE_URL='http://127.0.0.1:9')
trainer = subprocess.Popen(['./ZORVA'], cwd=work, env=env)
BUTTONS = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)


def buttons_of(parent):
    return [child for child in parent if child and child.getRole() in BUTTONS]


def bar_and_panel():
    for app in pyatspi.Registry.getDesktop(0):
        if app and app.description.endswith('/ZORVA'):
            # The bar is the window of picture buttons; the panel the main window's strip.
            windows = [window for window in app if window]
            bar = max(windows, key=lambda window: len(buttons_of(window)))
            main = [window for window in windows if window.name.startswith('ZORVA v')]
            strips = pyatspi.findAllDescendants(main[0], lambda a: len(buttons_of(a)) >= 13) if main else []
            panel = pyatspi.findAllDescendants(strips[0], lambda a: a.getRole() in BUTTONS) if strips else []
            return buttons_of(bar), panel
    return [], []


try:
    for _ in range(60):
        bar, panel = bar_and_panel()
        if len(bar) >= 24 and len(panel) >= 13:
            break
        time.sleep(0.5)
    nameless = 0
    for where, found in (('bar', bar), ('panel', panel)):
        for button in found:
            print(f'{where}: {button.name!r} - {button.description!r}')
            nameless += not button.name.strip()
    print(f'{len(bar)} buttons on the bar, {len(panel)} on the panel, {nameless} without a name')
    sys.exit(0 if len(bar) >= 24 and len(panel) >= 13 and nameless == 0 else 1)
finally:
    trainer.terminate()
    trainer.wait()
    shutil.rmtree(work, ignore_errors=True)
