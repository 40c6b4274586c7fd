#include "importer.h"

#include "materialpaths.h"
#include "qskinobject.h"
#include "ui_importer.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>

namespace {
const QString workspaceFolder = QStringLiteral("./workspace/");

QString completeBaseNameOf(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}
} // namespace

QString importedTranscriptName(const QString &audioFileName)
{
    return completeBaseNameOf(audioFileName) + QStringLiteral(".txt");
}

QString importedTranslationName(const QString &audioFileName)
{
    return completeBaseNameOf(audioFileName) + QStringLiteral("@T.txt");
}

Importer::Importer(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::Importer>())
    , m_skin(std::make_unique<QSkinObject>(this, 4))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    setUpButtons();
    m_skin->setSkinFile(QStringLiteral("./skin/exporter.ini"));
    m_skin->startSkinning();
    // The skin paints a dark body; captions take its title colour to stay readable, while
    // the line edits keep their own light fields.
    QPalette captions = palette();
    captions.setColor(QPalette::WindowText, m_skin->titleColorValue());
    for (QWidget *caption : { static_cast<QWidget *>(ui->label),
             static_cast<QWidget *>(ui->label_2), static_cast<QWidget *>(ui->label_3),
             static_cast<QWidget *>(ui->label_4), static_cast<QWidget *>(ui->groupBox) })
        caption->setPalette(captions);

    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    move(desktop.width() / 2 - width() / 2, desktop.height() / 2 - height() / 2);

    connect(ui->btnImport, &QAbstractButton::clicked, this, &Importer::doImport);
    connect(ui->btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    for (QLineEdit *edit : { ui->matName, ui->mp3Name, ui->origTxt, ui->TranTxt })
        connect(edit, &QLineEdit::textChanged, this, &Importer::doValidCheck);
    connect(ui->btnGetMp3, &QAbstractButton::clicked, this, &Importer::doGetMp3);
    connect(ui->btnGetOrig, &QAbstractButton::clicked, this, &Importer::doGetOrig);
    connect(ui->btnGetTrans, &QAbstractButton::clicked, this, &Importer::doGetTran);
    doValidCheck();
}

Importer::~Importer() = default;

void Importer::setUpButtons()
{
    const QPixmap sheet(QStringLiteral(":/images/btn-popdlg.png"));
    const struct
    {
        OctImgBtn *button;
        QString caption;
        QString description;
    } buttons[] = { { ui->btnGetMp3, tr("浏览"), tr("Choose the MP3 file of the recording") },
        { ui->btnGetOrig, tr("浏览"), tr("Choose the text file of the transcript") },
        { ui->btnGetTrans, tr("浏览"), tr("Choose the text file of the translation") },
        { ui->btnImport, tr("导入"), tr("Copy the three files into the workspace and list the material") },
        { ui->btnCancel, tr("取消"), tr("Close without importing") } };
    for (const auto &button : buttons) {
        button.button->setImages(sheet, 4);
        button.button->setTexts(button.caption, QString());
        button.button->setAccessibleDescription(button.description);
        // Cut as a two-column check button, but these only act: a click must not leave
        // them checked, which would show the empty checked caption.
        button.button->setCheckable(false);
    }
}

void Importer::doValidCheck()
{
    const auto isFile = [](const QLineEdit *edit) { return QFileInfo(edit->text()).isFile(); };
    ui->btnImport->setEnabled(!ui->matName->text().isEmpty() && isFile(ui->mp3Name)
        && isFile(ui->origTxt) && isFile(ui->TranTxt));
}

void Importer::doGetMp3()
{
    browse(ui->mp3Name, tr("定位音频文件"), tr("MP3 files (*.mp3)"));
}

void Importer::doGetOrig()
{
    browse(ui->origTxt, tr("定位原文文件"), tr("Text files (*.txt)"));
}

void Importer::doGetTran()
{
    browse(ui->TranTxt, tr("定位译文文件"), tr("Text files (*.txt)"));
}

void Importer::browse(QLineEdit *target, const QString &caption, const QString &filter)
{
    const QString chosen = QFileDialog::getOpenFileName(this, caption, QString(), filter);
    if (!chosen.isEmpty())
        target->setText(chosen);
}

QString Importer::uniqueImportName(const QString &sourcePath, const QString &folder)
{
    const QFileInfo source(sourcePath);
    const QString stem = source.completeBaseName();
    const QString suffix
        = source.suffix().isEmpty() ? QString() : QLatin1Char('.') + source.suffix();
    const QDir dir(folder);
    // The first free number, not a count of what is there: after talk_0 was removed while
    // talk_1 remains, a count would hand out talk_1 again and overwrite that material.
    for (int n = 0;; ++n) {
        const QString name = stem + QLatin1Char('_') + QString::number(n) + suffix;
        if (!dir.exists(name) && !dir.exists(importedTranscriptName(name))
            && !dir.exists(importedTranslationName(name)))
            return name;
    }
}

bool Importer::copyFile(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) {
        *error = tr("Cannot read %1: %2").arg(QDir::toNativeSeparators(source), in.errorString());
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(target), out.errorString());
        return false;
    }
    // In pieces: an hour of audio need not sit in memory at once.
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (in.error() != QFileDevice::NoError || !out.commit()) {
        *error = tr("Cannot copy %1 to %2: %3")
                     .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                         in.error() != QFileDevice::NoError ? in.errorString() : out.errorString());
        return false;
    }
    return true;
}

void Importer::doImport()
{
    if (ui->matName->text().isEmpty())
        return;
    // The library takes audio this small for the rest of a broken copy and deletes the
    // material at the first Study click: refused here, where the learner still has the file.
    const qint64 audioBytes = QFileInfo(ui->mp3Name->text()).size();
    if (MaterialPaths::isDamagedAudioSize(audioBytes)) {
        reportFailure(tr("%1 holds only %2 bytes; an audio file needs at least %3 bytes to be "
                         "studied.")
                          .arg(QDir::toNativeSeparators(ui->mp3Name->text()))
                          .arg(audioBytes)
                          .arg(MaterialPaths::minimumAudioBytes));
        return;
    }
    QDir().mkpath(workspaceFolder);
    const QString newName = uniqueImportName(ui->mp3Name->text(), workspaceFolder);
    const QStringList sources { ui->mp3Name->text(), ui->origTxt->text(), ui->TranTxt->text() };
    const QStringList targets { workspaceFolder + newName,
        workspaceFolder + importedTranscriptName(newName),
        workspaceFolder + importedTranslationName(newName) };
    for (int i = 0; i < sources.size(); ++i) {
        QString error;
        if (!copyFile(sources.at(i), targets.at(i), &error)) {
            // Half a material would be listed but could never be studied.
            for (int copied = 0; copied < i; ++copied)
                QFile::remove(targets.at(copied));
            reportFailure(error);
            return;
        }
    }
    emit sigImport(ui->matName->text(), newName);
    for (QLineEdit *edit : { ui->matName, ui->mp3Name, ui->origTxt, ui->TranTxt })
        edit->clear();
    hide();
}

void Importer::reportFailure(const QString &reason)
{
    QMessageBox::warning(
        this, windowTitle(), tr("The material was not imported.\n%1").arg(reason), QMessageBox::Ok);
}
