"""The recipe of a read mark that docs/architecture.md gives makes the marks that the
reader writes: a novel read headless, its read-marks file is the document's marks of
its three paragraphs, two of them equal. Arguments: the program and the source folder."""
import glob
import os
import re
import subprocess
import sys
import tempfile

YOMU, SOURCE = sys.argv[1:3]
with open(os.path.join(SOURCE, 'docs', 'architecture.md'), encoding='utf-8') as document:
    exec(re.search(r'```python\n(def read_mark\(.*?)```', document.read(), re.S).group(1))

with tempfile.TemporaryDirectory() as folder:
    novel = os.path.join(folder, 'novel')
    os.mkdir(novel)
    with open(os.path.join(novel, 'タイトル.txt'), 'wb') as script:
        script.write('C\n同じ\n別\n同じ\nE\n'.encode('cp932'))
    events = os.path.join(folder, 'events')
    with open(events, 'w', encoding='utf-8') as out:
        out.write('wait 100\nclick 1 1\nwait 100\nclick 1 1\nwait 100\n')
    homes = {name: os.path.join(folder, name) for name in
             ('XDG_DATA_HOME', 'XDG_CONFIG_HOME', 'XDG_STATE_HOME', 'XDG_CACHE_HOME')}
    run = subprocess.run([YOMU, '--headless', '--events=' + events, novel], timeout=60,
                         env=dict(os.environ, **homes), capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    [marks_file] = glob.glob(os.path.join(homes['XDG_DATA_HOME'], 'yomu', '*', 'read-marks'))
    with open(marks_file, encoding='ascii') as marks:
        written = marks.read().splitlines()

name = 'タイトル.txt'.encode('cp932')  # its イ holds a "C", which the recipe folds
same, other = '同じ'.encode('cp932'), '別'.encode('cp932')
expected = sorted([read_mark(name, same, 0), read_mark(name, other, 0), read_mark(name, same, 1)])
assert written == ['yomu read marks 1'] + expected, (written, expected)
print('the document\'s recipe makes the marks the reader wrote:', ' '.join(expected))
