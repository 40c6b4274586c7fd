// Transcripts are plain text files that often carry HTML leftovers from the pages they
// were copied from; the text panel loads them with those leftovers removed. Any file
// must load without harm and the panel must show no more than the file held.
#include "fuzzapp.h"

#include "editor.h"

#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>

#include <cstddef>
#include <cstdint>

namespace {

struct Fixture
{
    QTemporaryDir folder;
    QString path;
    Editor *editor = nullptr;

    Fixture()
    {
        fuzzGuiApplication();
        if (!folder.isValid())
            fuzzFailure("cannot make a temporary folder");
        path = folder.filePath(QStringLiteral("lesson01.txt"));
        editor = new Editor(10, 10, 400, 300, Qt::black, 16, QFont(), 0.5);
    }
};

Fixture &fixture()
{
    static Fixture *f = new Fixture;
    return *f;
}

// What the file holds as the panel reads it, before the leftovers are removed.
QString decoded(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fuzzFailure("cannot read the transcript back");
    QTextStream in(&file);
    return in.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fixture &f = fixture();
    {
        QFile file(f.path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    f.editor->textArea()->clear();
    f.editor->open(f.path);
    const QString shown = f.editor->textArea()->toPlainText();
    const QString text = decoded(f.path);
    FUZZ_CHECK(shown.size() <= text.size());
    // Removing the leftovers only ever takes text away.
    FUZZ_CHECK(stripTranscriptMarkup(text).size() <= text.size());
    if (!text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&')))
        FUZZ_CHECK(stripTranscriptMarkup(text) == text);
    return 0;
}
