#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLineEdit;
class QSkinObject;

namespace Ui {
class Importer;
}

// The dialog through which learners add a material of their own: a name and the three
// files (audio, transcript, translation), copied into "./workspace/" under one new name.
class Importer : public QDialog
{
    Q_OBJECT
public:
    explicit Importer(QWidget *parent = nullptr);
    ~Importer() override;

    // The new audio file name for sourcePath: "<stem>_<n>.<suffix>" with the smallest n
    // for which none of the material's three files exists in folder yet.
    static QString uniqueImportName(
        const QString &sourcePath, const QString &folder = QStringLiteral("./workspace/"));

signals:
    void sigImport(const QString &name, const QString &audioFileName);

public slots:
    void doImport();
    void doValidCheck();
    void doGetMp3();
    void doGetOrig();
    void doGetTran();

private:
    void setUpButtons();
    void browse(QLineEdit *target, const QString &caption, const QString &filter);
    // Copies source to target; on failure error says why and target is left absent.
    static bool copyFile(const QString &source, const QString &target, QString *error);
    void reportFailure(const QString &reason);

    std::unique_ptr<Ui::Importer> ui;
    std::unique_ptr<QSkinObject> m_skin;
};

// The transcript and translation names that go with an audio file name:
// "unit.1_0.mp3" gives "unit.1_0.txt" and "unit.1_0@T.txt".
QString importedTranscriptName(const QString &audioFileName);
QString importedTranslationName(const QString &audioFileName);
