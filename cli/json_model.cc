#include "cli/json_model.h"

#include <map>
#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace korva {
namespace cli {
namespace {

using Json = nlohmann::json;

// A defect of the model file, with its place.
struct ModelError : std::runtime_error {
  explicit ModelError(const std::string& what) : std::runtime_error(what) {}
};

[[noreturn]] void Defect(const std::string& where, const std::string& what) {
  throw ModelError(where.empty() ? what : where + ": " + what);
}

std::string At(const std::string& where, const std::string& key) { return where.empty() ? key : where + "." + key; }
std::string At(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }

// Only the listed keys may appear: a misspelt key is an error, not a
// silently ignored value.
void OnlyKeys(const Json& object, const std::string& where, const std::set<std::string>& keys) {
  if (!object.is_object()) Defect(where, "expected an object");
  for (auto it = object.begin(); it != object.end(); ++it)
    if (keys.count(it.key()) == 0) Defect(At(where, it.key()), "unknown key");
}

double Number(const Json& value, const std::string& where) {
  if (!value.is_number()) Defect(where, "expected a number");
  return value.get<double>();
}

std::string Text(const Json& value, const std::string& where) {
  if (!value.is_string()) Defect(where, "expected a string");
  return value.get<std::string>();
}

int StoreyNumber(const Json& value, const std::string& where, size_t storeys) {
  if (!value.is_number_integer() || value.get<long long>() < 1 ||
      value.get<long long>() > static_cast<long long>(storeys))
    Defect(where, "expected a storey number from 1 to " + std::to_string(storeys));
  return value.get<int>();
}

template <size_t N>
std::array<double, N> Point(const Json& value, const std::string& where) {
  if (!value.is_array() || value.size() != N) Defect(where, "expected " + std::to_string(N) + " numbers");
  std::array<double, N> p{};
  for (size_t i = 0; i < N; ++i) p[i] = Number(value[i], At(where, i));
  return p;
}

const Json* Find(const Json& object, const char* key) {
  auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

const Json& List(const Json& object, const char* key, const std::string& where, const Json& empty) {
  const Json* list = Find(object, key);
  if (list == nullptr) return empty;
  if (!list->is_array()) Defect(At(where, key), "expected a list");
  return *list;
}

// An enumerator: a name, or its index as a number.
std::string Enumerator(const Json& value, const std::string& where) {
  if (value.is_null()) return "";
  if (value.is_number_integer()) return std::to_string(value.get<int>());
  return Text(value, where);
}

void ReadHeader(const Json& root, ExportHeader* h) {
  if (const Json* header = Find(root, "header")) {
    OnlyKeys(*header, "header",
             {"description", "originatingSystem", "author", "organization", "authorization", "application"});
    std::string* texts[] = {&h->description,   &h->originatingSystem, &h->author,
                            &h->organization,  &h->authorization,     &h->application};
    const char* keys[] = {"description", "originatingSystem", "author", "organization", "authorization",
                          "application"};
    for (size_t i = 0; i < 6; ++i)
      if (const Json* v = Find(*header, keys[i])) *texts[i] = Text(*v, At("header", keys[i]));
  }
  if (const Json* units = Find(root, "units")) {
    OnlyKeys(*units, "units", {"prefix", "length"});
    if (const Json* v = Find(*units, "prefix")) h->prefix = Enumerator(*v, "units.prefix");
    if (const Json* v = Find(*units, "length")) h->unit = Enumerator(*v, "units.length");
    if (h->unit.empty()) Defect("units.length", "expected an IfcSIUnitName enumerator");
  }
}

// Storeys are named Storey1, Storey2, ... unless named (building exports
// name them themselves and write only the elevation).
std::vector<Storey> ReadStoreys(const Json& root) {
  static const Json kEmpty = Json::array();
  std::vector<Storey> storeys;
  const Json& list = List(root, "storeys", "", kEmpty);
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string where = At("storeys", i);
    OnlyKeys(list[i], where, {"name", "elevation"});
    Storey s;
    s.name = "Storey" + std::to_string(i + 1);
    if (const Json* v = Find(list[i], "name")) s.name = Text(*v, At(where, "name"));
    const Json* elevation = Find(list[i], "elevation");
    if (elevation == nullptr) Defect(where, "elevation missing");
    s.elevation = Number(*elevation, At(where, "elevation"));
    storeys.push_back(s);
  }
  return storeys;
}

std::vector<BuildingElement> ReadElements(const Json& root, const char* kind, size_t storeys) {
  static const Json kEmpty = Json::array();
  std::vector<BuildingElement> elements;
  const Json& list = List(root, kind, "", kEmpty);
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string where = At(kind, i);
    OnlyKeys(list[i], where, {"storey", "points", "depth", "location", "axis", "ref"});
    BuildingElement e;
    const Json* storey = Find(list[i], "storey");
    if (storey == nullptr) Defect(where, "storey missing");
    e.storey = StoreyNumber(*storey, At(where, "storey"), storeys);
    const Json* points = Find(list[i], "points");
    if (points == nullptr || !points->is_array() || points->size() < 3)
      Defect(At(where, "points"), "expected a list of at least 3 points [x, y]");
    for (size_t k = 0; k < points->size(); ++k) e.points.push_back(Point<2>((*points)[k], At(At(where, "points"), k)));
    const Json* depth = Find(list[i], "depth");
    if (depth == nullptr) Defect(where, "depth missing");
    e.depth = Number(*depth, At(where, "depth"));
    if (const Json* v = Find(list[i], "location")) e.location = Point<3>(*v, At(where, "location"));
    if (const Json* v = Find(list[i], "axis")) e.axis = Point<3>(*v, At(where, "axis"));
    if (const Json* v = Find(list[i], "ref")) e.ref = Point<3>(*v, At(where, "ref"));
    elements.push_back(e);
  }
  return elements;
}

bool Parse(const std::string& text, std::string* error, Json* root) {
  try {
    *root = Json::parse(text);
  } catch (const Json::parse_error& e) {
    *error = std::string("not valid JSON: ") + e.what();
    return false;
  }
  if (!root->is_object()) {
    *error = "expected a JSON object at the top";
    return false;
  }
  return true;
}

}  // namespace

bool ParseBuildingModel(const std::string& text, BuildingModel* model, std::string* error) {
  Json root;
  if (!Parse(text, error, &root)) return false;
  try {
    OnlyKeys(root, "", {"header", "units", "storeys", "columns", "beams", "slabs", "walls"});
    ReadHeader(root, &model->header);
    model->storeys = ReadStoreys(root);
    model->columns = ReadElements(root, "columns", model->storeys.size());
    model->beams = ReadElements(root, "beams", model->storeys.size());
    model->slabs = ReadElements(root, "slabs", model->storeys.size());
    model->walls = ReadElements(root, "walls", model->storeys.size());
  } catch (const ModelError& e) {
    *error = e.what();
    return false;
  } catch (const Json::exception& e) {
    *error = e.what();
    return false;
  }
  return true;
}

bool ParseAnalysisModel(const std::string& text, AnalysisModel* model, std::string* error) {
  static const Json kEmpty = Json::array();
  Json root;
  if (!Parse(text, error, &root)) return false;
  try {
    OnlyKeys(root, "", {"header", "units", "model", "storeys", "nodes", "curveMembers", "surfaceMembers"});
    ReadHeader(root, &model->header);
    if (const Json* m = Find(root, "model")) {
      OnlyKeys(*m, "model", {"name", "description"});
      if (const Json* v = Find(*m, "name")) model->name = Text(*v, "model.name");
      if (const Json* v = Find(*m, "description")) model->description = Text(*v, "model.description");
    }
    model->storeys = ReadStoreys(root);
    const size_t storeys = model->storeys.size();

    std::map<std::string, size_t> nodes;
    const Json& nodeList = List(root, "nodes", "", kEmpty);
    for (size_t i = 0; i < nodeList.size(); ++i) {
      const std::string where = At("nodes", i);
      OnlyKeys(nodeList[i], where, {"id", "storey", "at"});
      AnalysisNode n;
      const Json* id = Find(nodeList[i], "id");
      const Json* storey = Find(nodeList[i], "storey");
      const Json* at = Find(nodeList[i], "at");
      if (id == nullptr || storey == nullptr || at == nullptr) Defect(where, "id, storey and at are needed");
      n.id = Text(*id, At(where, "id"));
      if (!nodes.emplace(n.id, i).second) Defect(At(where, "id"), "node '" + n.id + "' defined twice");
      n.storey = StoreyNumber(*storey, At(where, "storey"), storeys);
      n.at = Point<3>(*at, At(where, "at"));
      model->nodes.push_back(n);
    }
    auto node = [&](const Json& value, const std::string& where) {
      const std::string id = Text(value, where);
      if (nodes.count(id) == 0) Defect(where, "no node '" + id + "'");
      return id;
    };

    const Json& curves = List(root, "curveMembers", "", kEmpty);
    for (size_t i = 0; i < curves.size(); ++i) {
      const std::string where = At("curveMembers", i);
      OnlyKeys(curves[i], where, {"name", "storey", "start", "end"});
      CurveMember c;
      const Json* start = Find(curves[i], "start");
      const Json* end = Find(curves[i], "end");
      if (start == nullptr || end == nullptr) Defect(where, "start and end nodes are needed");
      c.start = node(*start, At(where, "start"));
      c.end = node(*end, At(where, "end"));
      c.name = "C" + std::to_string(i + 1);
      if (const Json* v = Find(curves[i], "name")) c.name = Text(*v, At(where, "name"));
      // A member stands in the storey of its start node unless told.
      c.storey = model->nodes[nodes[c.start]].storey;
      if (const Json* v = Find(curves[i], "storey")) c.storey = StoreyNumber(*v, At(where, "storey"), storeys);
      model->curveMembers.push_back(c);
    }

    const Json& surfaces = List(root, "surfaceMembers", "", kEmpty);
    for (size_t i = 0; i < surfaces.size(); ++i) {
      const std::string where = At("surfaceMembers", i);
      OnlyKeys(surfaces[i], where, {"name", "storey", "nodes"});
      SurfaceMember s;
      const Json* corners = Find(surfaces[i], "nodes");
      if (corners == nullptr || !corners->is_array() || corners->size() < 3)
        Defect(At(where, "nodes"), "expected a list of at least 3 node ids");
      for (size_t k = 0; k < corners->size(); ++k) s.nodes.push_back(node((*corners)[k], At(At(where, "nodes"), k)));
      s.name = "S" + std::to_string(i + 1);
      if (const Json* v = Find(surfaces[i], "name")) s.name = Text(*v, At(where, "name"));
      s.storey = model->nodes[nodes[s.nodes.front()]].storey;
      if (const Json* v = Find(surfaces[i], "storey")) s.storey = StoreyNumber(*v, At(where, "storey"), storeys);
      model->surfaceMembers.push_back(s);
    }
  } catch (const ModelError& e) {
    *error = e.what();
    return false;
  } catch (const Json::exception& e) {
    *error = e.what();
    return false;
  }
  return true;
}

}  // namespace cli
}  // namespace korva
