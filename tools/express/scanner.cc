#include "express/scanner.h"

#include "express/error.h"

namespace korva::express {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool Token::is(std::string_view word) const {
  return kind == TokenKind::Identifier && equalsIgnoreCase(text, word);
}

bool Token::isSymbol(std::string_view symbol) const {
  return kind == TokenKind::Symbol && text == symbol;
}

std::string Token::display() const {
  return kind == TokenKind::EndOfFile ? std::string("end of file") : text;
}

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }
bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Operators made of several characters, longest first so that the first
// match is the longest one.
constexpr std::string_view kMultiCharSymbols[] = {
    ":<>:", ":=:", ":=", "<=", ">=", "<>", "<*", "**", "||",
};
constexpr std::string_view kSingleCharSymbols = ";:,()[]{}=<>.\\*+-/?|@#&";

class Scanner {
 public:
  Scanner(std::string_view source, const std::string& fileName)
      : src_(source), file_(fileName) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    for (;;) {
      skipBlanksAndComments();
      if (pos_ >= src_.size()) break;
      tokens.push_back(next());
    }
    Token eof;
    eof.kind = TokenKind::EndOfFile;
    eof.line = line_;
    eof.begin = eof.end = src_.size();
    tokens.push_back(eof);
    return tokens;
  }

 private:
  char peek(std::size_t ahead = 0) const {
    return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0';
  }

  void advance() {
    if (src_[pos_] == '\n') ++line_;
    ++pos_;
  }

  [[noreturn]] void fail(int line, const std::string& message, std::string near) const {
    throw ExpressError(Diagnostic{file_, line, message, std::move(near)});
  }

  void skipBlanksAndComments() {
    while (pos_ < src_.size()) {
      char c = peek();
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
        advance();
      } else if (c == '(' && peek(1) == '*') {
        skipBlockComment();
      } else if (c == '-' && peek(1) == '-') {
        while (pos_ < src_.size() && peek() != '\n') advance();
      } else {
        break;
      }
    }
  }

  void skipBlockComment() {
    const int startLine = line_;
    int depth = 0;
    while (pos_ < src_.size()) {
      if (peek() == '(' && peek(1) == '*') {
        ++depth;
        advance();
        advance();
      } else if (peek() == '*' && peek(1) == ')') {
        advance();
        advance();
        if (--depth == 0) return;
      } else {
        advance();
      }
    }
    fail(startLine, "unterminated comment", "(*");
  }

  Token next() {
    Token t;
    t.line = line_;
    t.begin = pos_;
    const char c = peek();
    if (isLetter(c)) {
      t.kind = TokenKind::Identifier;
      while (pos_ < src_.size() && isIdentChar(peek())) advance();
    } else if (isDigit(c)) {
      scanNumber(t);
    } else if (c == '\'') {
      scanQuotedString(t);
    } else if (c == '"') {
      scanEncodedString(t);
    } else if (c == '%' && (peek(1) == '0' || peek(1) == '1')) {
      t.kind = TokenKind::Binary;
      advance();
      while (peek() == '0' || peek() == '1') advance();
    } else {
      scanSymbol(t);
    }
    t.end = pos_;
    t.text = std::string(src_.substr(t.begin, t.end - t.begin));
    return t;
  }

  void scanNumber(Token& t) {
    t.kind = TokenKind::Integer;
    while (isDigit(peek())) advance();
    // A '.' makes a real only when a digit or an exponent follows; otherwise
    // it is the member-access dot of the next token.
    const bool fraction = peek() == '.' && isDigit(peek(1));
    const bool bareExponent = peek() == '.' && (peek(1) == 'e' || peek(1) == 'E') &&
                              (isDigit(peek(2)) || peek(2) == '+' || peek(2) == '-');
    if (fraction || bareExponent) {
      t.kind = TokenKind::Real;
      advance();
      while (isDigit(peek())) advance();
    }
    if (t.kind == TokenKind::Real && (peek() == 'e' || peek() == 'E')) {
      std::size_t ahead = 1;
      if (peek(1) == '+' || peek(1) == '-') ahead = 2;
      if (!isDigit(peek(ahead))) fail(line_, "malformed real literal", std::string(1, peek()));
      for (std::size_t i = 0; i < ahead; ++i) advance();
      while (isDigit(peek())) advance();
    }
  }

  void scanQuotedString(Token& t) {
    t.kind = TokenKind::String;
    const int startLine = line_;
    advance();  // opening quote
    for (;;) {
      if (pos_ >= src_.size()) fail(startLine, "unterminated string", "'");
      if (peek() == '\'') {
        advance();
        if (peek() != '\'') return;  // '' is an embedded quote
      }
      advance();
    }
  }

  void scanEncodedString(Token& t) {
    t.kind = TokenKind::String;
    const int startLine = line_;
    advance();
    while (pos_ < src_.size() && peek() != '"') {
      if (!isHexDigit(peek()))
        fail(line_, "invalid character in encoded string", std::string(1, peek()));
      advance();
    }
    if (pos_ >= src_.size()) fail(startLine, "unterminated string", "\"");
    advance();
  }

  void scanSymbol(Token& t) {
    t.kind = TokenKind::Symbol;
    for (std::string_view op : kMultiCharSymbols) {
      if (src_.substr(pos_, op.size()) == op) {
        for (std::size_t i = 0; i < op.size(); ++i) advance();
        return;
      }
    }
    if (kSingleCharSymbols.find(peek()) != std::string_view::npos) {
      advance();
      return;
    }
    const unsigned char bad = static_cast<unsigned char>(peek());
    std::string shown;
    if (bad >= 0x20 && bad < 0x7f) {
      shown = std::string(1, static_cast<char>(bad));
    } else {
      static const char kHex[] = "0123456789abcdef";
      shown = std::string("\\x") + kHex[bad >> 4] + kHex[bad & 15];
    }
    fail(line_, "unexpected character", shown);
  }

  std::string_view src_;
  const std::string& file_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

std::vector<Token> scan(std::string_view source, const std::string& fileName) {
  return Scanner(source, fileName).run();
}

}  // namespace korva::express
