// The child of the kill test: builds a book of ROWS plate rows, writes "r" to standard output when
// the save over TARGET begins, saves, then writes "s", or "f" and the error. Exit status 0 when saved.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Sheet.h"

using namespace platform::spreadsheet;

namespace {

std::u16string ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void say(const std::string& text) {
  if (::write(STDOUT_FILENO, text.data(), text.size()) < 0) std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    say("f usage: save_kill_helper TARGET ROWS");
    return 2;
  }
  const int rows = std::atoi(argv[2]);
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  for (int r = 0; r < rows; ++r) {
    const std::string n = std::to_string(r);
    sheet->writeStr(r, 0, ascii(n));
    sheet->writeStr(r, 1, u"京A" + ascii(n));
    sheet->writeStr(r, 2, u"2024-08-21 10:00:00");
    sheet->writeStr(r, 3, u"蓝");
    sheet->writeStr(r, 4, u"10.1.1." + ascii(std::to_string(r % 250)));
  }
  say("r");
  if (book->save(std::string(argv[1]))) {
    say("s");
    return 0;
  }
  say("f" + book->errorMessage());
  return 1;
}
