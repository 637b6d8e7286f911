// Encryption of protected data: AES-128 in counter mode (through libtomcrypt) under one
// program-wide key, and the program's own Blowfish for the compression chains.
//
// An AES-encrypted block, in memory and as a file, is the 16-byte initial counter value
// followed by the n ciphertext bytes: n + 16 bytes in all, with no header or length; the
// reader must know n.
#pragma once

// Sets the program-wide AES key: 1 to 16 characters, zero-padded to 16 bytes.
bool EngEncryptionInit(const char *password);
// Forgets the key (tests set up again after this).
void EngEncryptionShutdown();

// A new EngMalloc block of n + 16 bytes (counter block, then ciphertext), or NULL.
void *EngEncryptionEncrypt(const void *data, unsigned int n);
// Decrypts a block of n + 16 bytes in place: the n plaintext bytes move to the start,
// followed by a NUL at offset n.
bool EngEncryptionDecrypt(void *block, unsigned int n);

// Encrypts and writes exactly n + 16 bytes to a new or truncated file.
bool EngEncryptionEncryptAndWriteToFile(const char *fileName, const void *data, unsigned int n);
// Reads a file of exactly n + 16 bytes and puts its n plaintext bytes into `out`; a file
// of any other size is never decrypted and leaves `out` untouched.
bool EngEncryptionReadFromFileAndDecrypt(const char *fileName, void *out, unsigned int n);
// True when the file opens and holds exactly n + 16 bytes.
bool EngEncryptionCheckFileSize(const char *fileName, unsigned int n);

// Blowfish in place, each complete 8-byte block on its own (no chaining); the last n mod 8
// bytes are left as they are. The key is a text of at least 8 characters (the first 72
// take part). n must be at least 8.
bool EngEncryptionEncryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned int n);
bool EngEncryptionDecryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned int n);
