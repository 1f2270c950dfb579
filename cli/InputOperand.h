// InputOperand: one file operand of a comparison as the command reads it.
//
// The component compares files by name and refuses anything that is not a regular file
// (a FIFO, a device or a socket has no end it could wait for, and opening one may block).
// Streams the command itself holds are another matter: "-" stands for standard input, and
// a path naming a pipe or socket this process has open ("/dev/stdin", "/dev/fd/N",
// "/proc/self/fd/N", which is what a shell's "<(...)" hands over) can only be read
// through that descriptor, once. Such an operand is read fully into a private temporary
// file (mode 0600, under $TMPDIR, else /tmp), which is then compared as a file and
// removed when the operand is destroyed. Every other path is left to the component as
// given, so a named FIFO or a device is refused there as before, without being opened
// here.
//
// One thread per object.
#pragma once

#include <ostream>
#include <string>

namespace lindrel::cli {

class InputOperand {
 public:
  InputOperand() = default;
  ~InputOperand();
  InputOperand(const InputOperand&) = delete;
  InputOperand& operator=(const InputOperand&) = delete;

  // The descriptor whose content `given` stands for when it has to be copied (0 for "-",
  // the descriptor of a held pipe or socket), or -1 for a path the component reads.
  static int StreamDescriptor(const std::string& given);

  // Takes the operand as given: copies its stream into a private file when it is one.
  // False, after saying why on `err` (a read error, a disk that is full), when the copy
  // cannot be made; nothing is left behind then.
  bool Prepare(const std::string& given, std::ostream& err);

  // Stands for an empty file named `name` (how git names the missing side of an added or
  // removed file: /dev/null), through an empty private file. False after saying why.
  bool PrepareEmpty(const std::string& name, std::ostream& err);

  // The operand as given, for messages and headers.
  const std::string& name() const { return name_; }
  // The file to compare and read: the operand itself, or its private copy.
  const std::string& path() const { return copy_.empty() ? name_ : copy_; }
  bool copied() const { return !copy_.empty(); }

 private:
  // Creates the private file; its descriptor, or -1 after saying why.
  int CreateCopy(std::ostream& err);
  void RemoveCopy();

  std::string name_;
  std::string copy_;
};

}  // namespace lindrel::cli
