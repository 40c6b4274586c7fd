#!/usr/bin/python3
# Every text the sources pass through the catalogues (tr() and the forms, as lupdate finds
# them) has a finished translation in both the English and the Chinese catalogue, so no box
# or state that a test does not reach shows its source text in the wrong language.
import glob, os, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

source = os.environ['ZORVA_SOURCE_DIR']


def messages(files):
    found = {}
    for name in files:
        for context in ET.parse(name).getroot().iter('context'):
            for message in context.iter('message'):
                translation = message.find('translation')
                done = translation is not None and translation.get('type') is None
                found[(context.findtext('name'), message.findtext('source'))] = done and translation.text
    return found


with tempfile.TemporaryDirectory() as work:
    subprocess.run(['lupdate', '-silent', '-locations', 'none', os.path.join(source, 'src'),
                    '-ts', os.path.join(work, 'all.ts')], check=True)
    wanted = messages([os.path.join(work, 'all.ts')])
missing = [(catalogue, key) for catalogue in ('default', 'zh')
           for have in [messages(glob.glob(os.path.join(source, 'translations', catalogue, '*.ts')))]
           for key in wanted if not have.get(key)]
for catalogue, (context, text) in missing:
    print(f'{catalogue}: {context}: {text!r} has no translation')
print(f'{len(wanted)} texts, {len(missing)} translations missing')
sys.exit(1 if missing else 0)
