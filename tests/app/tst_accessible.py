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
is_button = lambda a: a and a.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)


def bar_and_panel():
    apps = [app for app in pyatspi.Registry.getDesktop(0) if app and app.description.endswith('/ZORVA')]
    windows = [window for app in apps for window in app if window]
    if not windows:
        return [], []
    # The bar is the window of picture buttons; the panel the main window's strip of them.
    bar = max(windows, key=lambda window: len([c for c in window if is_button(c)]))
    strips = [a for w in windows if w.name.startswith('ZORVA v')
              for a in pyatspi.findAllDescendants(w, lambda a: len([c for c in a if is_button(c)]) >= 13)]
    return [c for c in bar if is_button(c)], pyatspi.findAllDescendants(strips[0], is_button) if strips else []


try:
    for _ in range(60):
        bar, panel = bar_and_panel()
        if len(bar) >= 24 and len(panel) >= 13:
            break
        time.sleep(0.5)
    for where, found in (('bar', bar), ('panel', panel)):
        for button in found:
            print(f'{where}: {button.name!r} - {button.description!r}')
    nameless = sum(not button.name.strip() for button in bar + panel)
    print(f'{len(bar)} buttons on the bar, {len(panel)} on the panel, {nameless} without a name')
    sys.exit(0 if len(bar) >= 24 and len(panel) >= 13 and nameless == 0 else 1)
finally:
    trainer.terminate()
    trainer.wait()
    shutil.rmtree(work, ignore_errors=True)
