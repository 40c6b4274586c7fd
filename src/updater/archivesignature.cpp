#include "archivesignature.h"

#include <QFile>

#include <openssl/evp.h>
#include <sodium.h>

#include <memory>

namespace {

const unsigned char *bytes(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

// OpenSSL's SHA-256 uses the processor's SHA instructions: several times faster than
// libsodium's portable one, which would make checking a large archive a wait of its own.
using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

DigestContext newSha256()
{
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        context.reset();
    return context;
}

QByteArray finalDigest(EVP_MD_CTX *context)
{
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, reinterpret_cast<unsigned char *>(digest.data()), &length) != 1)
        return {};
    digest.truncate(int(length));
    return digest;
}

// Hashes the next `count` bytes of `file`; false when they cannot all be read.
bool hashMore(QFile &file, EVP_MD_CTX *context, qint64 count, QByteArray &block)
{
    while (count > 0) {
        const qint64 n = file.read(block.data(), qMin<qint64>(block.size(), count));
        if (n <= 0 || EVP_DigestUpdate(context, block.constData(), size_t(n)) != 1)
            return false;
        count -= n;
    }
    return true;
}

} // namespace

namespace ArchiveSignature {

QByteArray signedMessage(int version, const QByteArray &sha256)
{
    return QByteArrayLiteral("ZORVA update archive\nversion ") + QByteArray::number(version)
        + QByteArrayLiteral("\nsha256 ") + sha256.toHex() + '\n';
}

QByteArray decodeBase64(const QByteArray &text, int size)
{
    const auto decoded
        = QByteArray::fromBase64Encoding(text.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == size ? decoded.decoded : QByteArray();
}

QByteArray publicKey()
{
    const QByteArray fromEnvironment = qgetenv("ZORVA_UPDATE_PUBLIC_KEY").trimmed();
    return decodeBase64(
        fromEnvironment.isEmpty() ? QByteArrayLiteral(ZORVA_RELEASE_PUBLIC_KEY) : fromEnvironment,
        kPublicKeyBytes);
}

bool verify(
    int version, const QByteArray &sha256, const QByteArray &signatureText, const QByteArray &key)
{
    const QByteArray signature = decodeBase64(signatureText, crypto_sign_BYTES);
    if (sodium_init() < 0 || signature.isEmpty() || key.size() != kPublicKeyBytes
        || sha256.size() != 32)
        return false;
    const QByteArray message = signedMessage(version, sha256);
    return crypto_sign_verify_detached(
               bytes(signature), bytes(message), quint64(message.size()), bytes(key))
        == 0;
}

QByteArray sign(int version, const QByteArray &sha256, const QByteArray &secretSeed)
{
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
    const QByteArray message = signedMessage(version, sha256);
    const bool signedOk = sodium_init() >= 0 && secretSeed.size() == kSecretSeedBytes
        && crypto_sign_seed_keypair(publicKey, secretKey, bytes(secretSeed)) == 0
        && crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
               bytes(message), quint64(message.size()), secretKey)
            == 0;
    sodium_memzero(secretKey, sizeof secretKey);
    return signedOk ? signature.toBase64() + '\n' : QByteArray();
}

QByteArray makeSecretSeed()
{
    if (sodium_init() < 0)
        return {};
    QByteArray seed(kSecretSeedBytes, Qt::Uninitialized);
    randombytes_buf(seed.data(), size_t(seed.size()));
    return seed;
}

QByteArray publicKeyOf(const QByteArray &secretSeed)
{
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    const bool made = sodium_init() >= 0 && secretSeed.size() == kSecretSeedBytes
        && crypto_sign_seed_keypair(
               reinterpret_cast<unsigned char *>(publicKey.data()), secretKey, bytes(secretSeed))
            == 0;
    sodium_memzero(secretKey, sizeof secretKey);
    return made ? publicKey : QByteArray();
}

QByteArray sha256OfFile(const QString &path)
{
    QFile file(path);
    DigestContext context = newSha256();
    QByteArray block(1 << 20, Qt::Uninitialized);
    if (!context || !file.open(QIODevice::ReadOnly)
        || !hashMore(file, context.get(), file.size(), block))
        return {};
    return finalDigest(context.get());
}

} // namespace ArchiveSignature

FileHasher::FileHasher(const QString &path)
    : m_path(path)
    , m_thread([this] { run(); })
{
}

FileHasher::~FileHasher()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FileHasher::bytesReady(qint64 count)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ready = qMax(m_ready, count);
    }
    m_wake.notify_all();
}

QByteArray FileHasher::digest(qint64 size)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_size = size;
    m_ready = qMax(m_ready, size);
    m_wake.notify_all();
    m_wake.wait(lock, [this] { return m_done; });
    return m_result;
}

void FileHasher::run()
{
    QFile file(m_path);
    DigestContext context = newSha256();
    QByteArray block(1 << 20, Qt::Uninitialized);
    bool readable = context && file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    qint64 hashed = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stop || m_ready > hashed || m_size >= 0 || !readable; });
        if (m_stop)
            return;
        if (!readable || (m_size >= 0 && hashed >= m_ready)) {
            m_result = readable && hashed == m_size ? finalDigest(context.get()) : QByteArray();
            m_done = true;
            m_wake.notify_all();
            return;
        }
        const qint64 count = m_ready - hashed;
        lock.unlock();
        readable = hashMore(file, context.get(), count, block);
        hashed += count;
        lock.lock();
    }
}
