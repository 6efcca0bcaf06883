#include "express/parser.h"

#include <initializer_list>
#include <optional>
#include <vector>

#include "express/error.h"
#include "express/scanner.h"

namespace korva::express {
namespace {

// Reserved words of EXPRESS that can never name a type, entity or attribute.
// Rejecting them as names turns a missing END_ or ';' into an error at the
// right place instead of a confusing one further on.
constexpr std::string_view kReserved[] = {
    "ABSTRACT", "AGGREGATE", "ALIAS", "AND", "ANDOR", "ARRAY", "AS", "BAG",
    "BEGIN", "BINARY", "BOOLEAN", "BY", "CASE", "CONSTANT", "DERIVE", "DIV",
    "ELSE", "END", "END_ALIAS", "END_CASE", "END_CONSTANT", "END_ENTITY",
    "END_FUNCTION", "END_IF", "END_LOCAL", "END_PROCEDURE", "END_REPEAT",
    "END_RULE", "END_SCHEMA", "END_TYPE", "ENTITY", "ENUMERATION", "ESCAPE",
    "FIXED", "FOR", "FROM", "FUNCTION", "GENERIC", "IF", "IN", "INTEGER",
    "INVERSE", "LIST", "LOCAL", "LOGICAL", "MOD", "NOT", "NUMBER", "OF",
    "ONEOF", "OPTIONAL", "OR", "OTHERWISE", "PROCEDURE", "QUERY", "REAL",
    "REFERENCE", "REPEAT", "RETURN", "RULE", "SCHEMA", "SELECT", "SELF", "SET",
    "SKIP", "STRING", "SUBTYPE", "SUPERTYPE", "THEN", "TO", "TYPE", "UNIQUE",
    "UNTIL", "USE", "VAR", "WHERE", "WHILE", "XOR",
};

bool isReserved(const Token& t) {
  for (std::string_view word : kReserved)
    if (t.is(word)) return true;
  return false;
}

// Nesting limit for type descriptions (LIST OF LIST OF ...), far beyond any real
// schema; keeps hostile input from exhausting the stack.
constexpr int kMaxTypeDepth = 64;

class Parser {
 public:
  Parser(std::string_view source, const std::string& fileName)
      : source_(source), file_(fileName), tokens_(scan(source, fileName)) {}

  Schema run() {
    Schema schema;
    schema.fileName = file_;
    expectKeyword("SCHEMA");
    schema.name = expectName("schema name").text;
    expectSymbol(";");
    while (!peek().is("END_SCHEMA")) parseDeclaration(schema);
    advance();
    expectSymbol(";");
    if (peek().kind != TokenKind::EndOfFile) fail("unexpected text after END_SCHEMA");
    return schema;
  }

 private:
  // ------------------------------------------------------------ token access

  const Token& peek(std::size_t ahead = 0) const {
    const std::size_t i = pos_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
  }

  const Token& advance() {
    const Token& t = tokens_[pos_];
    if (t.kind != TokenKind::EndOfFile) ++pos_;
    return t;
  }

  [[noreturn]] void fail(const std::string& message) const { failAt(peek(), message); }

  [[noreturn]] void failAt(const Token& t, const std::string& message) const {
    throw ExpressError(Diagnostic{file_, t.line, message, t.display()});
  }

  bool acceptKeyword(std::string_view word) {
    if (!peek().is(word)) return false;
    advance();
    return true;
  }

  bool acceptSymbol(std::string_view symbol) {
    if (!peek().isSymbol(symbol)) return false;
    advance();
    return true;
  }

  void expectKeyword(std::string_view word) {
    if (!acceptKeyword(word)) fail("expected " + std::string(word));
  }

  void expectSymbol(std::string_view symbol) {
    if (!acceptSymbol(symbol)) fail("expected '" + std::string(symbol) + "'");
  }

  const Token& expectName(const std::string& what) {
    if (peek().kind != TokenKind::Identifier || isReserved(peek())) fail("expected " + what);
    return advance();
  }

  std::string sourceText(const Token& first, const Token& last) const {
    return std::string(source_.substr(first.begin, last.end - first.begin));
  }

  // Consumes tokens up to (not including) one of the stop symbols at bracket
  // depth 0 and returns their source text.  Fails on end of file, on
  // unbalanced brackets, on a ';' that is not a stop symbol, or when nothing
  // precedes the stop symbol.
  std::string captureUntil(std::initializer_list<std::string_view> stops,
                           const std::string& what) {
    const std::size_t start = pos_;
    int depth = 0;
    for (;;) {
      const Token& t = peek();
      if (t.kind == TokenKind::EndOfFile) fail("unexpected end of file in " + what);
      if (depth == 0 && t.kind == TokenKind::Symbol) {
        bool stop = false;
        for (std::string_view s : stops) stop = stop || t.text == s;
        if (stop) break;
      }
      if (t.isSymbol(";")) {
        // No expression contains ';' outside a string: the text before it
        // is missing a closing bracket or the expected delimiter.
        fail(depth > 0 ? "unclosed bracket in " + what : "unexpected ';' in " + what);
      }
      if (t.isSymbol("(") || t.isSymbol("[") || t.isSymbol("{")) {
        ++depth;
      } else if (t.isSymbol(")") || t.isSymbol("]") || t.isSymbol("}")) {
        if (--depth < 0) fail("unbalanced '" + t.text + "' in " + what);
      } else if (t.is("END_ENTITY") || t.is("END_TYPE") || t.is("END_SCHEMA")) {
        // These never occur inside an expression: the text before them is
        // missing its terminator or a closing bracket.
        fail(depth > 0 ? "unclosed bracket in " + what : "expected ';' to end " + what);
      }
      advance();
    }
    if (pos_ == start) fail("expected " + what);
    return sourceText(tokens_[start], tokens_[pos_ - 1]);
  }

  // ------------------------------------------------------------ declarations

  void parseDeclaration(Schema& schema) {
    const Token& t = peek();
    if (t.is("TYPE")) {
      parseType(schema);
    } else if (t.is("ENTITY")) {
      parseEntity(schema);
    } else if (t.is("FUNCTION")) {
      skipBlock("FUNCTION", "END_FUNCTION");
    } else if (t.is("PROCEDURE")) {
      skipBlock("PROCEDURE", "END_PROCEDURE");
    } else if (t.is("RULE")) {
      skipBlock("RULE", "END_RULE");
    } else if (t.is("CONSTANT")) {
      skipBlock("CONSTANT", "END_CONSTANT");
    } else if (t.is("SUBTYPE_CONSTRAINT")) {
      skipBlock("SUBTYPE_CONSTRAINT", "END_SUBTYPE_CONSTRAINT");
    } else if (t.is("USE") || t.is("REFERENCE")) {
      advance();
      captureUntil({";"}, "USE or REFERENCE clause");
      advance();
    } else if (t.kind == TokenKind::EndOfFile) {
      fail("missing END_SCHEMA");
    } else {
      fail("expected TYPE, ENTITY, FUNCTION, RULE, PROCEDURE, CONSTANT or END_SCHEMA");
    }
  }

  void addDeclaration(Schema& schema, std::unique_ptr<Declaration> decl, const Token& nameToken) {
    if (!schema.add(std::move(decl))) failAt(nameToken, "duplicate declaration");
  }

  // Skips an algorithm or constant block up to its matching END_ keyword.
  // Blocks of the same kind may nest (local functions); strings and comments
  // are already single tokens, so their contents cannot confuse the count.
  void skipBlock(std::string_view open, std::string_view close) {
    const Token& start = advance();
    int depth = 1;
    while (depth > 0) {
      const Token& t = advance();
      if (t.kind == TokenKind::EndOfFile)
        failAt(t, "missing " + std::string(close) + " for " + std::string(open) +
                      " at line " + std::to_string(start.line));
      if (t.is(open)) ++depth;
      else if (t.is(close)) --depth;
    }
    expectSymbol(";");
  }

  void parseType(Schema& schema) {
    advance();  // TYPE
    const Token& nameToken = expectName("type name");
    expectSymbol("=");
    std::unique_ptr<Declaration> decl;
    std::vector<Rule>* where = nullptr;
    if (peek().is("ENUMERATION")) {
      advance();
      expectKeyword("OF");
      auto e = std::make_unique<EnumerationType>(nameToken.text, nameToken.line);
      e->items = parseNameList("enumerator");
      where = &e->where;
      decl = std::move(e);
    } else if (peek().is("SELECT")) {
      advance();
      auto s = std::make_unique<SelectType>(nameToken.text, nameToken.line);
      s->memberNames = parseNameList("select member");
      where = &s->where;
      decl = std::move(s);
    } else {
      auto d = std::make_unique<DefinedType>(nameToken.text, nameToken.line);
      d->underlying = parseTypeDesc(0);
      where = &d->where;
      decl = std::move(d);
    }
    expectSymbol(";");
    if (acceptKeyword("WHERE")) *where = parseRules("END_TYPE");
    expectKeyword("END_TYPE");
    expectSymbol(";");
    addDeclaration(schema, std::move(decl), nameToken);
  }

  // '(' name {',' name} ')'
  std::vector<std::string> parseNameList(const std::string& what) {
    std::vector<std::string> names;
    expectSymbol("(");
    do {
      names.push_back(expectName(what).text);
    } while (acceptSymbol(","));
    expectSymbol(")");
    return names;
  }

  TypeDesc parseTypeDesc(int depth) {
    if (depth > kMaxTypeDepth) fail("type nested too deeply");
    TypeDesc desc;
    const Token& t = peek();
    if (t.is("LIST") || t.is("SET") || t.is("BAG") || t.is("ARRAY")) {
      desc.kind = TypeDesc::Kind::Aggregate;
      desc.aggregate = t.is("LIST") ? AggregateKind::List
                       : t.is("SET") ? AggregateKind::Set
                       : t.is("BAG") ? AggregateKind::Bag
                                     : AggregateKind::Array;
      advance();
      parseBounds(desc.lower, desc.upper, desc.aggregate == AggregateKind::Array);
      expectKeyword("OF");
      desc.optionalElements = acceptKeyword("OPTIONAL");
      desc.uniqueElements = acceptKeyword("UNIQUE");
      desc.element = std::make_shared<TypeDesc>(parseTypeDesc(depth + 1));
      return desc;
    }
    desc.kind = TypeDesc::Kind::Simple;
    if (acceptKeyword("INTEGER")) { desc.simple = SimpleKind::Integer; return desc; }
    if (acceptKeyword("NUMBER")) { desc.simple = SimpleKind::Number; return desc; }
    if (acceptKeyword("BOOLEAN")) { desc.simple = SimpleKind::Boolean; return desc; }
    if (acceptKeyword("LOGICAL")) { desc.simple = SimpleKind::Logical; return desc; }
    if (acceptKeyword("REAL")) {
      desc.simple = SimpleKind::Real;
      if (acceptSymbol("(")) {  // precision: accepted, not needed by the model
        captureUntil({")"}, "real precision");
        advance();
      }
      return desc;
    }
    if (peek().is("STRING") || peek().is("BINARY")) {
      desc.simple = peek().is("STRING") ? SimpleKind::String : SimpleKind::Binary;
      advance();
      if (acceptSymbol("(")) {
        desc.width = parseBound({")"}, "width");
        expectSymbol(")");
        desc.fixed = acceptKeyword("FIXED");
      }
      return desc;
    }
    desc.kind = TypeDesc::Kind::Named;
    const Token& nameToken = expectName("a type");
    desc.name = nameToken.text;
    return desc;
  }

  // '[' lower ':' upper ']'; optional except for ARRAY.  Missing bounds mean
  // [0:?], the EXPRESS default.
  void parseBounds(Bound& lower, Bound& upper, bool required) {
    if (!acceptSymbol("[")) {
      if (required) fail("expected '[' with array bounds");
      lower.kind = Bound::Kind::Integer;
      lower.value = 0;
      lower.text = "0";
      upper.kind = Bound::Kind::Unbounded;
      upper.text = "?";
      return;
    }
    lower = parseBound({":"}, "lower bound");
    expectSymbol(":");
    upper = parseBound({"]"}, "upper bound");
    expectSymbol("]");
  }

  Bound parseBound(std::initializer_list<std::string_view> stops, const std::string& what) {
    Bound b;
    const std::size_t start = pos_;
    b.text = captureUntil(stops, what);
    if (pos_ - start == 1) {
      const Token& only = tokens_[start];
      if (only.isSymbol("?")) {
        b.kind = Bound::Kind::Unbounded;
        return b;
      }
      if (only.kind == TokenKind::Integer && only.text.size() <= 18) {
        b.kind = Bound::Kind::Integer;
        b.value = std::stoll(only.text);
        return b;
      }
    }
    b.kind = Bound::Kind::Expression;
    return b;
  }

  // WHERE / UNIQUE rules up to `end` or the next entity section keyword:
  // { [label ':'] expression ';' }
  std::vector<Rule> parseRules(std::string_view end) {
    std::vector<Rule> rules;
    while (!peek().is(end) && !peek().is("WHERE")) {
      Rule rule;
      rule.line = peek().line;
      if (peek().kind == TokenKind::Identifier && peek(1).isSymbol(":")) {
        rule.label = advance().text;
        advance();
      }
      rule.expression = captureUntil({";"}, "rule");
      advance();
      rules.push_back(std::move(rule));
    }
    return rules;
  }

  // ----------------------------------------------------------------- entities

  void parseEntity(Schema& schema) {
    advance();  // ENTITY
    const Token& nameToken = expectName("entity name");
    auto entity = std::make_unique<Entity>(nameToken.text, nameToken.line);
    parseSubSuper(*entity);
    expectSymbol(";");

    while (!isEntitySectionEnd()) parseExplicit(*entity);
    if (acceptKeyword("DERIVE")) {
      while (!isEntitySectionEnd()) parseDerived(*entity);
    }
    if (acceptKeyword("INVERSE")) {
      while (!isEntitySectionEnd()) parseInverse(*entity);
    }
    if (acceptKeyword("UNIQUE")) entity->unique = parseRules("END_ENTITY");
    if (acceptKeyword("WHERE")) entity->where = parseRules("END_ENTITY");
    if (!peek().is("END_ENTITY")) fail("expected END_ENTITY");
    advance();
    expectSymbol(";");
    addDeclaration(schema, std::move(entity), nameToken);
  }

  bool isEntitySectionEnd() const {
    const Token& t = peek();
    return t.is("DERIVE") || t.is("INVERSE") || t.is("UNIQUE") || t.is("WHERE") ||
           t.is("END_ENTITY") || t.kind == TokenKind::EndOfFile;
  }

  void parseSubSuper(Entity& entity) {
    if (acceptKeyword("ABSTRACT")) {
      entity.isAbstract = true;
      if (acceptKeyword("SUPERTYPE") && acceptKeyword("OF")) parseSupertypeExpression(entity);
    } else if (acceptKeyword("SUPERTYPE")) {
      expectKeyword("OF");
      parseSupertypeExpression(entity);
    }
    if (acceptKeyword("SUBTYPE")) {
      expectKeyword("OF");
      entity.supertypeNames = parseNameList("supertype name");
    }
  }

  void parseSupertypeExpression(Entity& entity) {
    expectSymbol("(");
    entity.supertypeExpression = captureUntil({")"}, "supertype expression");
    expectSymbol(")");
  }

  // Attribute name, or SELF\Entity.Attribute for a redeclaration.
  struct AttributeName {
    const Token* token = nullptr;
    std::optional<Redeclaration> redeclares;
  };

  AttributeName parseAttributeName() {
    AttributeName result;
    if (peek().is("SELF") && peek(1).isSymbol("\\")) {
      advance();
      advance();
      Redeclaration r;
      r.entityName = expectName("entity name").text;
      expectSymbol(".");
      result.token = &expectName("attribute name");
      r.attributeName = result.token->text;
      result.redeclares = std::move(r);
    } else {
      result.token = &expectName("attribute name");
    }
    return result;
  }

  void parseExplicit(Entity& entity) {
    std::vector<AttributeName> names;
    do {
      names.push_back(parseAttributeName());
    } while (acceptSymbol(","));
    expectSymbol(":");
    const bool optional = acceptKeyword("OPTIONAL");
    const TypeDesc type = parseTypeDesc(0);
    expectSymbol(";");
    for (AttributeName& n : names) {
      ExplicitAttribute a;
      a.name = n.token->text;
      a.line = n.token->line;
      a.type = type;
      a.optional = optional;
      a.redeclares = std::move(n.redeclares);
      entity.attributes.push_back(std::move(a));
    }
  }

  void parseDerived(Entity& entity) {
    AttributeName n = parseAttributeName();
    DerivedAttribute d;
    d.name = n.token->text;
    d.line = n.token->line;
    d.redeclares = std::move(n.redeclares);
    expectSymbol(":");
    d.type = parseTypeDesc(0);
    expectSymbol(":=");
    d.expression = captureUntil({";"}, "derived attribute expression");
    advance();
    entity.derived.push_back(std::move(d));
  }

  void parseInverse(Entity& entity) {
    AttributeName n = parseAttributeName();
    InverseAttribute inv;
    inv.name = n.token->text;
    inv.line = n.token->line;
    expectSymbol(":");
    TypeDesc target;
    target.kind = TypeDesc::Kind::Named;
    if (peek().is("SET") || peek().is("BAG")) {
      inv.type.kind = TypeDesc::Kind::Aggregate;
      inv.type.aggregate = peek().is("SET") ? AggregateKind::Set : AggregateKind::Bag;
      advance();
      parseBounds(inv.type.lower, inv.type.upper, false);
      expectKeyword("OF");
    }
    target.name = inv.targetName = expectName("inverse target entity").text;
    if (inv.isAggregate()) {
      inv.type.element = std::make_shared<TypeDesc>(std::move(target));
    } else {
      inv.type = std::move(target);
    }
    expectKeyword("FOR");
    // FOR [entity .] attribute
    inv.forAttribute = expectName("inverse attribute").text;
    if (acceptSymbol(".")) inv.forAttribute = expectName("inverse attribute").text;
    expectSymbol(";");
    entity.inverses.push_back(std::move(inv));
  }

  std::string_view source_;
  const std::string& file_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
};

}  // namespace

Schema parseSchema(std::string_view source, const std::string& fileName) {
  return Parser(source, fileName).run();
}

}  // namespace korva::express
