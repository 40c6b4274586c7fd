#include "recordingcontrol.h"

#include "parecthread.h"

#include <QDebug>
#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

SentenceTake::~SentenceTake()
{
    end();
}

bool SentenceTake::begin(PaRecThread &thread, const QString &sentenceFile)
{
    end();
    qDebug() << "recordFileName:" << sentenceFile;
    const QFileInfo sentence(sentenceFile);
    m_takeFile = sentence.dir().filePath(QLatin1Char('.') + sentence.fileName() + QStringLiteral(".part"));
    m_file = std::fopen(QFile::encodeName(m_takeFile).constData(), "wb");
    if (!m_file)
        return false;
    m_thread = &thread;
    m_sentenceFile = sentenceFile;
    thread.setFile(m_file);
    thread.setGain(kRecordGain);
    thread.start(QThread::InheritPriority);
    return true;
}

QString SentenceTake::end(bool *kept)
{
    if (kept)
        *kept = false;
    if (!m_file)
        return QString();
    m_thread->stop();
    m_thread->wait();
    QString failure = m_thread->errorText();
    // The last blocks may still sit in the stream's buffer: a disk that fills now fails here.
    const bool written = std::fflush(m_file) == 0 && fsync(fileno(m_file)) == 0;
    if ((std::fclose(m_file) != 0 || !written) && failure.isEmpty())
        failure = QStringLiteral("file write failed: the recording is incomplete.");
    m_file = nullptr;
    const QByteArray take = QFile::encodeName(m_takeFile);
    const bool holdsAudio = m_thread->capturedFrames() > 0 && QFileInfo(m_takeFile).size() > 0;
    if (holdsAudio && std::rename(take.constData(), QFile::encodeName(m_sentenceFile).constData()) == 0) {
        if (kept)
            *kept = true;
    } else {
        if (holdsAudio && failure.isEmpty())
            failure = QStringLiteral("the take could not replace %1.").arg(m_sentenceFile);
        std::remove(take.constData());
    }
    return failure;
}
