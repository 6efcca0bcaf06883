// Opens an IFC file with web-ifc (a client none of us wrote) and prints, as
// JSON, the GlobalIds of the walls, slabs, beams, columns, structural
// members and point connections it finds, by kind, each list sorted.
//   node list_entities.js NODE_MODULES_DIR FILE.ifc
// Exit status 2 when web-ifc refuses the file (its message on stderr).
'use strict';
const fs = require('fs');
const path = require('path');

async function main() {
  const [modules, file] = process.argv.slice(2);
  const WebIFC = require(path.join(modules, 'web-ifc', 'web-ifc-api-node.js'));
  const api = new WebIFC.IfcAPI();
  await api.Init();
  const data = new Uint8Array(fs.readFileSync(file));
  let model;
  try {
    model = api.OpenModel(data);
  } catch (e) {
    console.error(String(e && e.message ? e.message : e));
    process.exit(2);
  }
  if (model < 0) {
    console.error('web-ifc could not open ' + file);
    process.exit(2);
  }
  const kinds = {
    walls: [WebIFC.IFCWALL, WebIFC.IFCWALLSTANDARDCASE],
    slabs: [WebIFC.IFCSLAB],
    beams: [WebIFC.IFCBEAM],
    columns: [WebIFC.IFCCOLUMN],
    curveMembers: [WebIFC.IFCSTRUCTURALCURVEMEMBER],
    surfaceMembers: [WebIFC.IFCSTRUCTURALSURFACEMEMBER],
    pointConnections: [WebIFC.IFCSTRUCTURALPOINTCONNECTION],
  };
  const result = { schema: api.GetModelSchema ? api.GetModelSchema(model) : '' };
  for (const [kind, types] of Object.entries(kinds)) {
    const ids = [];
    for (const type of types) {
      const lines = api.GetLineIDsWithType(model, type);
      for (let i = 0; i < lines.size(); ++i) {
        const entity = api.GetLine(model, lines.get(i));
        ids.push(entity.GlobalId.value);
      }
    }
    result[kind] = ids.sort();
  }
  api.CloseModel(model);
  process.stdout.write(JSON.stringify(result) + '\n');
}

main().catch((e) => {
  console.error(String(e && e.stack ? e.stack : e));
  process.exit(1);
});
