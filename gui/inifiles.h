// An INI file read and written through the system's profile-string functions.
#pragma once
#include <string>

#include "gui/classes.h"

namespace gui {

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

class TIniFile {
 public:
  // Nothing is read or created on disk until the first call.
  explicit TIniFile(std::string fileName);
  // Flushes the system's cached copy of the file.
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  // Up to 2,047 characters; longer values are cut.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  // Decimal, or hexadecimal after "$" or "0x"; anything else gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

  // Each raises EIniFileException "Unable to write to <file>" when the system refuses.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  void UpdateFile();

 private:
  std::string fileName_;
};

}  // namespace gui
