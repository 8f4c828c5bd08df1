#pragma once
// The game's settings store. The per-user root is an ini file in the user's config folder,
// named after the base key's maker and title; the machine root is a read-only file of the
// same name in the system-wide config folders (empty on a normal install). A key path's
// backslashes become groups; an empty key means the base key itself.
// An object reads the whole file once, a line costing only itself (IniStoreReader); writes
// stay in memory until Flush.

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>

class ERegistry {
public:
  enum Root { CurrentUser, LocalMachine };

  // "Software\<maker>\<title>"; start-up may set them, every empty key works below them.
  static QString AppUserKey;
  static QString AppLocalKey;

  explicit ERegistry(Root root = CurrentUser);
  ~ERegistry();
  ERegistry(const ERegistry&) = delete;
  ERegistry& operator=(const ERegistry&) = delete;

  // The file behind a root (the machine file may not exist).
  static QString FilePath(Root root);

  // Reads fall back to the default on any failure: missing, wrong type, out of the int range.
  int ReadInt(const QString& key, const QString& value, int def) const;
  bool ReadBool(const QString& key, const QString& value, bool def) const;
  QString ReadString(const QString& key, const QString& value, const QString& def) const;
  // Empty when missing, unreadable or not binary.
  QByteArray ReadBinary(const QString& key, const QString& value) const;
  // The values named prefix + number, ordered by their number; gaps and other names ignored.
  QStringList ReadStringList(const QString& key, const QString& prefix) const;
  // With nested, values of subkeys too, named by their path below the key ("a/b"): a value
  // name that is a file path is stored so, its separators being the store's own.
  QStringList ValueNames(const QString& key, bool nested = false) const;
  bool ValueExists(const QString& key, const QString& value) const;

  // Writes fail (false, one log line) on the read-only machine root.
  bool WriteInt(const QString& key, const QString& value, int data);
  bool WriteBool(const QString& key, const QString& value, bool data);
  bool WriteString(const QString& key, const QString& value, const QString& data);
  bool WriteBinary(const QString& key, const QString& value, const QByteArray& data);
  // Replaces the whole key with one value per line, named prefix + index.
  bool WriteStringList(const QString& key, const QStringList& list, const QString& prefix);
  // Writes the file through the safe writer once the new text reads back as written; a
  // value that would not is dropped first, with a log line. False when anything failed
  // (the reason in ErrorString), and the old file is then left as it was; a store that
  // could not be read is never written over. A store that needed mending (lines or values
  // dropped) is first kept as found beside itself ("<name>.damaged", the newest only).
  bool Flush();
  QString ErrorString() const { return error; }
  // True when the file exists but could not be read; it then reads as empty.
  bool IsDamaged() const { return damaged; }

  static int QuickReadInt(const QString& key, const QString& value, int def,
                          Root root = CurrentUser);
  static bool QuickWriteInt(const QString& key, const QString& value, int data,
                            Root root = CurrentUser);
  // Returns the length and hands over a new buffer the caller frees; 0 and no buffer when
  // the value is missing, unreadable or empty.
  static int QuickReadBinary(const QString& key, const QString& value,
                             std::unique_ptr<std::uint8_t[]>& data, Root root = CurrentUser);
  static bool QuickWriteBinary(const QString& key, const QString& value, const void* data,
                               int size, Root root = CurrentUser);
  static QString QuickReadString(const QString& key, const QString& value, const QString& def,
                                 Root root = CurrentUser);
  static bool QuickWriteString(const QString& key, const QString& value, const QString& data,
                               Root root = CurrentUser);
  static QStringList QuickValueNames(const QString& key, Root root = CurrentUser, bool nested = false);

private:
  QString Path(const QString& key, const QString& value) const;
  QString Group(const QString& key) const;
  QVariant Read(const QString& key, const QString& value) const;
  bool Write(const QString& key, const QString& value, const QVariant& data);
  bool CanWrite(const QString& what) const;
  bool ReadStore();
  bool WriteStore();
  bool DropUnwritable(const QMap<QString, QVariant>& written);
  bool Fail(const QString& reason);

  Root root;
  QString file;
  QMap<QString, QVariant> values;  // full key path -> value, as the ini reader gives them
  QMap<QString, QVariant> loaded;  // the values as read, until the first write
  QByteArray asFound;              // the file as read, until the first write
  bool mending = false;            // asFound is to be kept aside: something of it was dropped
  QString error;
  bool damaged = false;
  bool changed = false;
};
