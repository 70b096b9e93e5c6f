#include "PasswordHash.h"

#include "SuiteError.h"

#include <sodium.h>

namespace velora::suite {

namespace {

void requireSodium() {
    // sodium_init is safe to call repeatedly and from several threads; it only fails when the
    // system cannot supply random numbers.
    if (sodium_init() < 0)
        throw SuiteError(SuiteErrorNumber::InvalidArgument,
                         QStringLiteral("The password library could not be initialised."));
}

} // namespace

QString PasswordHash::hash(const QString& password, Cost cost) {
    if (password.isEmpty())
        throw SuiteError(SuiteErrorNumber::InvalidArgument,
                         QStringLiteral("A login needs a password: without one anybody could "
                                        "log in under its name."));
    requireSodium();
    const QByteArray utf8 = password.toUtf8();
    const bool interactive = cost == Cost::Interactive;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(
            out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
            interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MIN,
            interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MIN,
            crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw SuiteError(SuiteErrorNumber::OutOfMemory,
                         QStringLiteral("Out of memory while hashing a password."));
    return QString::fromLatin1(out);
}

bool PasswordHash::verify(const QString& storedHash, const QString& password) {
    if (storedHash.isEmpty())
        return false;
    const QByteArray stored = storedHash.toLatin1();
    if (stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    requireSodium();
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

} // namespace velora::suite
