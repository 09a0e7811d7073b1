#include "store/Cipher.h"

#include <iconv.h>

#include <QRandomGenerator>
#include <cerrno>

namespace store {

namespace {

constexpr char kCodePage[] = "CP936";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Converts bytes strictly between two encodings: any sequence that has no form in the target
// (or is malformed in the source) fails instead of being replaced or dropped.
bool convertStrict(const char* to, const char* from, const QByteArray& in, QByteArray& out) {
    out.clear();
    if (in.isEmpty()) return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;

    // Code page 936 needs at most two bytes per UTF-8 character and UTF-8 at most three per
    // code-page byte pair, so four bytes out per byte in always suffices.
    QByteArray buffer(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = buffer.data();
    size_t outLeft = static_cast<size_t>(buffer.size());
    bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    // Flush any shift state; code page 936 has none, but the call is cheap and correct.
    if (ok) ok = iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) return false;
    buffer.truncate(buffer.size() - static_cast<qsizetype>(outLeft));
    out = buffer;
    return true;
}

QByteArray keyBytes(const QString& key) {
    return key.isEmpty() ? QByteArray(kCipherKey) : toCodePage(key);
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

int pairValue(const QString& cipher, qsizetype at) {
    const int high = hexValue(cipher.at(at));
    const int low = hexValue(cipher.at(at + 1));
    if (high < 0 || low < 0) {
        throw CipherError(
            QStringLiteral("密码密文已损坏：“%1”不是十六进制数字。").arg(cipher.mid(at, 2)));
    }
    return high * 16 + low;
}

void appendHex(QString& text, int value) {
    text += QLatin1Char(kHexDigits[(value >> 4) & 0xF]);
    text += QLatin1Char(kHexDigits[value & 0xF]);
}

// The key is used cyclically from its first character: position 1, 2, ..., length, 1, ...
int nextKeyPosition(int j, int keyLength) { return j < keyLength ? j + 1 : 1; }

}  // namespace

QByteArray toCodePage(const QString& text) {
    if (!text.isValidUtf16()) {
        throw CipherError(QStringLiteral("文本中含有无效的字符。"));
    }
    QByteArray bytes;
    if (!convertStrict(kCodePage, "UTF-8", text.toUtf8(), bytes)) {
        throw CipherError(QStringLiteral("文本中含有简体中文代码页无法表示的字符。"));
    }
    return bytes;
}

QString fromCodePage(const QByteArray& bytes) {
    QByteArray utf8;
    if (!convertStrict("UTF-8", kCodePage, bytes, utf8)) {
        throw CipherError(QStringLiteral("密码密文已损坏：解密结果不是有效的文本。"));
    }
    return QString::fromUtf8(utf8);
}

QString EncryptBytes(const QByteArray& plain, const QByteArray& key) {
    if (plain.isEmpty()) return {};
    return EncryptBytes(plain, key, static_cast<int>(QRandomGenerator::system()->bounded(256)));
}

QString EncryptBytes(const QByteArray& plain, const QByteArray& key, int firstValue) {
    if (plain.isEmpty()) return {};
    const QByteArray k = key.isEmpty() ? QByteArray(kCipherKey) : key;
    const int keyLength = static_cast<int>(k.size());
    const int c0 = firstValue & 0xFF;

    QString result;
    result.reserve(2 * (plain.size() + 1));
    appendHex(result, c0);
    int prev = c0;
    int j = 0;
    for (const char ch : plain) {
        const int b = static_cast<unsigned char>(ch);
        if (b == 0) throw CipherError(QStringLiteral("文本中含有空字符，无法加密。"));
        int v = (prev + b) % 255;
        j = nextKeyPosition(j, keyLength);
        v ^= static_cast<unsigned char>(k.at(j - 1));
        appendHex(result, v);
        prev = v;
    }
    return result;
}

QByteArray DecryptBytes(const QString& cipher, const QByteArray& key) {
    if (cipher.isEmpty()) return {};
    const QByteArray k = key.isEmpty() ? QByteArray(kCipherKey) : key;
    const int keyLength = static_cast<int>(k.size());
    if (cipher.size() < 2) return {};  // a lone digit: nothing but an ignored trailing digit

    int prev = pairValue(cipher, 0);
    int j = 0;
    QByteArray result;
    result.reserve(cipher.size() / 2);
    // Pairs from the third digit on; a trailing single digit is left out.
    for (qsizetype at = 2; at + 1 < cipher.size(); at += 2) {
        const int c = pairValue(cipher, at);
        j = nextKeyPosition(j, keyLength);
        const int x = static_cast<unsigned char>(k.at(j - 1)) ^ c;
        // Enciphering added prev modulo 255, where a previous value of 255 acts as 0. Taking
        // prev modulo 255 here makes byte 255 after a 255 come back as 255 (not 0); for every
        // other previous value this is the plain "x - prev, or x + 255 - prev" rule.
        const int p = prev % 255;
        const int b = x > p ? x - p : x + 255 - p;
        result.append(static_cast<char>(b));
        prev = c;
    }
    return result;
}

QString EncryptText(const QString& plain, const QString& key) {
    if (plain.isEmpty()) return {};
    if (plain.contains(QChar(u'\0'))) {
        throw CipherError(QStringLiteral("文本中含有空字符，无法加密。"));
    }
    return EncryptBytes(toCodePage(plain), keyBytes(key));
}

QString DecryptText(const QString& cipher, const QString& key) {
    if (cipher.isEmpty()) return {};
    return fromCodePage(DecryptBytes(cipher, keyBytes(key)));
}

bool canEncipher(const QString& text) {
    if (text.contains(QChar(u'\0'))) return false;
    try {
        toCodePage(text);
        return true;
    } catch (const CipherError&) {
        return false;
    }
}

}  // namespace store
