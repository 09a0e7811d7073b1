#pragma once

// The text cipher that guards the library password. It works on the bytes of a text in code
// page 936 (GBK), so a Chinese character counts two bytes and cipher texts written by earlier
// versions of the program keep their meaning. A cipher text is upper-case hexadecimal: one
// random pair, then one pair per enciphered byte.

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace store {

// The key the program always uses; an empty key argument falls back to it as well.
inline constexpr const char* kCipherKey = "QeroPelVim";

// A text the cipher cannot handle: a character without a code-page 936 form, or a stored
// cipher text that is not made of hexadecimal digit pairs or does not decode to a text.
class CipherError final : public std::runtime_error {
public:
    explicit CipherError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Enciphers the text's code-page bytes with a first value drawn from the system's random
// source. The empty text gives the empty cipher text. Throws CipherError when the text holds
// a character that code page 936 cannot represent (or U+0000): the password is refused rather
// than silently changed.
QString EncryptText(const QString& plain, const QString& key);

// Deciphers a cipher text (either letter case; a trailing single digit is ignored) and
// converts the bytes back from code page 936. The empty cipher text gives the empty text.
// Throws CipherError when a pair is not hexadecimal or the bytes are no code-page 936 text.
QString DecryptText(const QString& cipher, const QString& key);

// True when EncryptText accepts the text.
bool canEncipher(const QString& text);

// The byte-level cipher under the two functions above. Every byte must lie in 1..255 (a zero
// byte could not be told apart from 255 on the way back, so it throws CipherError).
// firstValue (0..255) is the leading random pair; the overload without it draws one.
QString EncryptBytes(const QByteArray& plain, const QByteArray& key);
QString EncryptBytes(const QByteArray& plain, const QByteArray& key, int firstValue);
// Throws CipherError when a pair holds a character that is not a hexadecimal digit.
QByteArray DecryptBytes(const QString& cipher, const QByteArray& key);

// Conversions between text and its code-page 936 bytes; CipherError on failure.
QByteArray toCodePage(const QString& text);
QString fromCodePage(const QByteArray& bytes);

}  // namespace store
