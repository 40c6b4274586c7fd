#include "recordingcontrol.h"

#include "parecthread.h"

#include <QDebug>
#include <QFile>

bool beginRecording(PaRecThread &thread, const QString &fileName, FILE *&file)
{
    if (file || thread.isRunning())
        endRecording(thread, file);

    qDebug() << "recordFileName:" << fileName;
    file = std::fopen(QFile::encodeName(fileName).constData(), "wb+");
    if (!file)
        return false;
    thread.setFile(file);
    thread.setGain(kRecordGain);
    thread.start(QThread::InheritPriority);
    return true;
}

void endRecording(PaRecThread &thread, FILE *&file)
{
    thread.stop();
    thread.wait();
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
}
