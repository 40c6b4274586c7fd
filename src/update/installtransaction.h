#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class QLockFile;

// Replaces files of an installation folder all or nothing. Every file is first staged in a
// folder beside the targets; commit() checks that every target can be replaced, records the
// plan in a journal inside the installation folder, moves each replaced file aside and the
// staged one into its place, the trainer's and the updater's programs last. A failure puts
// everything back at once; a crash or power loss is undone (or finished, when every file was
// already in place) by recoverInterruptedInstall() at the next start of either program.
class InstallTransaction final
{
public:
    explicit InstallTransaction(const QString &installDir);
    ~InstallTransaction();

    // Takes the installation's lock, recovers an interrupted install, makes the staging folder.
    bool begin();
    // The file to write the new content of `relativeTarget` to, before commit().
    QString addFile(const QString &relativeTarget);
    void addFolder(const QString &relativeFolder);
    bool commit();
    QString errorString() const { return m_error; }

    // "ZORVA" and "update" with the platform's program suffix: always executable, swapped last.
    static bool isProgram(const QString &relativeTarget);
    // What recoverInterruptedInstall() does, for an installation whose lock is held.
    static bool recoverLocked(const QString &installDir);

private:
    struct File
    {
        QString target;
        int id = 0;
        bool existed = false;
    };
    static bool rollBack(const QString &dir, const QString &staging, const QVector<File> &files,
        const QStringList &createdFolders);
    bool checkTarget(File &file);
    bool noteFolders(const QString &relativeFolder);
    bool syncStaged();
    bool writeJournal();
    bool createFolders();
    bool swap();
    bool fail(const QString &error);

    QString m_dir;
    QString m_staging;
    QVector<File> m_files;
    QStringList m_folders;
    QStringList m_createdFolders;
    std::unique_ptr<QLockFile> m_lock;
    bool m_journalWritten = false;
    bool m_finished = false;
    QString m_error;
};

// Brings an install that was interrupted in installDir to an end: finished when every new file
// was already in place, otherwise rolled back, so the folder holds one version complete. Does
// nothing when no install was interrupted or an updater is installing right now. Returns false
// only when files could not be put back.
bool recoverInterruptedInstall(const QString &installDir);
