#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

// Update archives are signed with Ed25519: "<version>.zip.sig" holds, in base64, the
// signature of a message that binds the version number to the archive's SHA-256, so that
// an old signed archive cannot be served under a newer number. Keys are raw bytes here;
// files and the environment carry them in base64.
namespace ArchiveSignature {

constexpr int kPublicKeyBytes = 32;
constexpr int kSecretSeedBytes = 32;

QByteArray signedMessage(int version, const QByteArray &sha256);

// The bytes of a base64 text (white space around it allowed); empty unless exactly `size`.
QByteArray decodeBase64(const QByteArray &text, int size);

// The release key compiled in, replaced (never supplemented) by ZORVA_UPDATE_PUBLIC_KEY
// when that is set; empty when the chosen text is not a key, so that nothing verifies.
QByteArray publicKey();

bool verify(int version, const QByteArray &sha256, const QByteArray &signatureText,
    const QByteArray &publicKey);

// The content of "<version>.zip.sig": the signature in base64 and a line end.
QByteArray sign(int version, const QByteArray &sha256, const QByteArray &secretSeed);

// A new secret seed, or the public key that belongs to one.
QByteArray makeSecretSeed();
QByteArray publicKeyOf(const QByteArray &secretSeed);

// Empty when the file cannot be read.
QByteArray sha256OfFile(const QString &path);

} // namespace ArchiveSignature

// SHA-256 of a file that is still being written, hashed on a thread of its own as its bytes
// become final, so that checking an archive costs next to nothing once it has arrived.
class FileHasher final
{
public:
    explicit FileHasher(const QString &path);
    ~FileHasher();
    FileHasher(const FileHasher &) = delete;
    FileHasher &operator=(const FileHasher &) = delete;

    // The file's first `count` bytes are written and stay as they are.
    void bytesReady(qint64 count);
    // Waits until the first `size` bytes are hashed; empty when they could not be read.
    QByteArray digest(qint64 size);

private:
    void run();

    const QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    qint64 m_ready = 0;
    qint64 m_size = -1;
    bool m_stop = false;
    bool m_done = false;
    QByteArray m_result;
    std::thread m_thread; // last: it starts once everything above is set up
};
