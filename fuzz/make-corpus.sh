#!/usr/bin/env bash
# make-corpus.sh: (re)writes the seed inputs under fuzz/corpus/. Reproducers of findings
# are kept beside the seeds (named repro-*) and are not touched here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
mkdir -p "$corpus"/{fuzz_listreader,fuzz_extractzip,fuzz_versiontext,fuzz_transcript}

# Material lists: the bundled list, a learner's list and the online catalogue.
lists=$corpus/fuzz_listreader
cp "$here/../data/install/weblist.xml" "$lists/weblist.xml"
cat > "$lists/custom.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<vornask version="1.0">
<train folded="yes"><title>My lessons</title>
<case learned="own01.mp3" url="own01.mp3"><title>Own one</title></case>
<train><title>Nested</title><case url="own02.mp3"/></train>
</train>
</vornask>
XML
cat > "$lists/catalogue.xml" <<'XML'
<sps version="2.0">
<channel folded="no"><title>News</title>
  <item><title>Item one</title>
    <audiourl>http://h/a/one.mp3</audiourl>
    <description>http://h/a/one.txt</description>
    <translation>http://h/a/one@T.txt</translation>
  </item>
  <separator/>
  <item><audiourl>http://h/a/two.mp3</audiourl></item>
</channel>
</sps>
XML
printf '<vornask version="1.0"><train><title>A &amp; B &#x4e2d;</title><case url="x"><title><![CDATA[<b>]]></title></case></train>' > "$lists/truncated.xml"
printf '<?xml version="1.0"?><!DOCTYPE vornask [<!ENTITY e "entity text">]><vornask><case><title>&e;&e;</title></case></vornask>' > "$lists/entity.xml"
printf '<vornask version="9"><train/></vornask>' > "$lists/wrongversion.xml"
printf '<?xml version="1.0" encoding="GBK"?><sps><item><title>\xd6\xd0\xce\xc4</title></item></sps>' > "$lists/gbk.xml"

# Archives: a plain update, folders, and hostile entry names.
zips=$corpus/fuzz_extractzip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(
    cd "$work"
    mkdir -p pkg/translations pkg/skin
    printf '1307\n' > pkg/version.txt
    printf 'qm' > pkg/translations/app_zh.qm
    printf '[skin]\n' > pkg/skin/skin.ini
    (cd pkg && zip -q -X -r "$zips/update.zip" .)
    (cd pkg && zip -q -X -0 "$zips/stored.zip" version.txt)
    printf 'escaped' > x
    mkdir -p a/b && cd a/b
    zip -q -X "$zips/dotdot.zip" ../../x
    cd "$work"
    zip -q -X -P secret "$zips/encrypted.zip" x
)
# zip(1) strips a leading "/" and cannot name Windows paths, so those archives are
# written with Python's zipfile. One hostile name per archive: the first refused entry
# ends the extraction, so a later one would never be looked at.
python3 - "$zips" <<'PY'
import sys, zipfile
out = sys.argv[1]
def make(name, entries):
    with zipfile.ZipFile(f"{out}/{name}", "w", zipfile.ZIP_DEFLATED) as z:
        for entry, data in entries:
            z.writestr(entry, data)
make("hostile-parent.zip", [("../x", b"up")])
make("hostile-absolute.zip", [("/abs", b"abs")])
make("hostile-backslash.zip", [("..\\win", b"w")])
make("hostile-drive.zip", [("C:/drive", b"c")])
make("hostile-last.zip", [("ok/", b""), ("ok/f", b"f"), ("a/../../y", b"y")])
make("conflict.zip", [("a", b"file"), ("a/b", b"under a file")])
make("dot-entries.zip", [("./", b""), ("./sub/./f", b"f"), ("sub//g", b"g")])
PY

# Version files and the updater's two arguments (separated by a NUL).
versions=$corpus/fuzz_versiontext
printf '1306' > "$versions/same"
printf '1307\n' > "$versions/newline"
printf ' 1308 ' > "$versions/spaces"
printf 'abc' > "$versions/letters"
printf '\xef\xbb\xbf1309\r\n' > "$versions/bom"
printf '<html>404</html>' > "$versions/errorpage"
printf '1306\0001310' > "$versions/arguments"
printf '1306\000' > "$versions/missing-target"

# Transcripts with markup leftovers and entities.
texts=$corpus/fuzz_transcript
printf '<div>Good morning.</div><p>Ladies&nbsp;and gentlemen,</p><br>welcome<br />\n' > "$texts/markup.txt"
printf 'a &lt;b&gt; &amp; c &#160; &unknown;\r\nline two\r\n' > "$texts/entities.txt"
printf '\xef\xbb\xbf\xe4\xbd\xa0\xe5\xa5\xbd</br>\xe4\xb8\x96\xe7\x95\x8c' > "$texts/utf8-bom.txt"
printf '\xff\xfeh\000i\000<\000p\000>\000' > "$texts/utf16.txt"
printf '<d<p>iv>nested</d</p>iv>&nb&lt;sp;' > "$texts/nested.txt"
