// Release tool: makes the key pair that update archives are signed with, and signs them.
//   zorva-sign keygen SECRET-KEY-FILE               new key pair; prints the public key
//   zorva-sign public SECRET-KEY-FILE               prints the public key
//   zorva-sign sign SECRET-KEY-FILE ARCHIVE VERSION writes ARCHIVE.sig
//   zorva-sign verify PUBLIC-KEY ARCHIVE VERSION    checks ARCHIVE.sig against a public key
// Keys are base64 text; the secret key file is made readable by its owner only.
#include "archivesignature.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>

using namespace ArchiveSignature;

namespace {

int fail(const char *message)
{
    std::fprintf(stderr, "zorva-sign: %s\n", message);
    return 1;
}

bool writeFile(const QString &path, const QByteArray &content, QFile::Permissions permissions)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.setPermissions(permissions)
        && file.write(content) == content.size() && file.commit();
}

QByteArray readSecretSeed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeBase64(file.readAll(), kSecretSeedBytes);
}

int printPublicKey(const QByteArray &seed)
{
    const QByteArray key = publicKeyOf(seed);
    if (key.isEmpty())
        return fail("not a secret key");
    std::printf("%s\n", key.toBase64().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString keyArgument = argc > 2 ? QFile::decodeName(argv[2]) : QString();
    if ((command == QLatin1String("keygen") || command == QLatin1String("public")) && argc == 3) {
        if (command == QLatin1String("public"))
            return printPublicKey(readSecretSeed(keyArgument));
        if (QFile::exists(keyArgument))
            return fail("the secret key file exists already; not replaced");
        const QByteArray seed = makeSecretSeed();
        if (seed.isEmpty()
            || !writeFile(
                keyArgument, seed.toBase64() + '\n', QFile::ReadOwner | QFile::WriteOwner))
            return fail("cannot write the secret key file");
        return printPublicKey(seed);
    }
    if ((command != QLatin1String("sign") && command != QLatin1String("verify")) || argc != 5) {
        std::fprintf(stderr,
            "usage: zorva-sign keygen|public SECRET-KEY-FILE\n"
            "       zorva-sign sign SECRET-KEY-FILE ARCHIVE VERSION\n"
            "       zorva-sign verify PUBLIC-KEY ARCHIVE VERSION\n");
        return 2;
    }
    const QString archive = QFile::decodeName(argv[3]);
    bool numeric = false;
    const int version = QString::fromLocal8Bit(argv[4]).toInt(&numeric, 10);
    const QByteArray sha256 = sha256OfFile(archive);
    if (!numeric || sha256.isEmpty())
        return fail(numeric ? "cannot read the archive" : "the version must be a decimal number");
    if (command == QLatin1String("verify")) {
        QFile signature(archive + QStringLiteral(".sig"));
        const QByteArray key = decodeBase64(keyArgument.toLatin1(), kPublicKeyBytes);
        if (!signature.open(QIODevice::ReadOnly)
            || !ArchiveSignature::verify(version, sha256, signature.readAll(), key))
            return fail("the signature does not verify");
        std::printf("good signature for version %d\n", version);
        return 0;
    }
    const QByteArray signature = sign(version, sha256, readSecretSeed(keyArgument));
    if (signature.isEmpty())
        return fail("not a secret key");
    if (!writeFile(archive + QStringLiteral(".sig"), signature,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther))
        return fail("cannot write the signature");
    return 0;
}
