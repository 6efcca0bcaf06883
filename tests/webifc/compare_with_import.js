// Opens IFC files with web-ifc (a client none of us wrote) and compares the
// walls, slabs, beams, columns, structural curve and surface members and
// point connections it finds, by GlobalId, with what our import found in
// the same model (`korva-ifc import` JSON).
//   node compare_with_import.js NODE_MODULES_DIR IMPORT_JSON FILE.ifc...
// Prints one line per file; exit status 1 when a file is refused or differs.
'use strict';
const fs = require('fs');
const path = require('path');

const KINDS = {
  walls: ['IFCWALL', 'IFCWALLSTANDARDCASE'],
  slabs: ['IFCSLAB'],
  beams: ['IFCBEAM'],
  columns: ['IFCCOLUMN'],
  curveMembers: ['IFCSTRUCTURALCURVEMEMBER'],
  surfaceMembers: ['IFCSTRUCTURALSURFACEMEMBER'],
  pointConnections: ['IFCSTRUCTURALPOINTCONNECTION'],
};

// GlobalIds of each kind in our import's JSON.
function fromImport(json) {
  const ids = {};
  for (const kind of Object.keys(KINDS)) ids[kind] = [];
  for (const kind of ['walls', 'slabs', 'beams', 'columns'])
    for (const r of json.building[kind]) ids[kind].push(r.GUID);
  for (const model of json.analysisModels || [])
    for (const kind of ['curveMembers', 'surfaceMembers', 'pointConnections'])
      for (const r of model[kind] || []) ids[kind].push(r.GUID);
  for (const kind of Object.keys(ids)) ids[kind] = [...new Set(ids[kind])].sort();
  return ids;
}

function fromWebIfc(WebIFC, api, file) {
  const model = api.OpenModel(new Uint8Array(fs.readFileSync(file)));
  if (model < 0) throw new Error('web-ifc refused ' + file);
  const schema = api.GetModelSchema(model);
  const ids = {};
  for (const [kind, types] of Object.entries(KINDS)) {
    ids[kind] = [];
    for (const type of types) {
      const lines = api.GetLineIDsWithType(model, WebIFC[type]);
      for (let i = 0; i < lines.size(); ++i) ids[kind].push(api.GetLine(model, lines.get(i)).GlobalId.value);
    }
    ids[kind].sort();
  }
  api.CloseModel(model);
  return { schema, ids };
}

async function main() {
  const [modules, importJson, ...files] = process.argv.slice(2);
  const WebIFC = require(path.join(modules, 'web-ifc', 'web-ifc-api-node.js'));
  const api = new WebIFC.IfcAPI();
  await api.Init();
  const expected = fromImport(JSON.parse(fs.readFileSync(importJson, 'utf8')));
  const total = Object.values(expected).reduce((n, list) => n + list.length, 0);
  let failed = total === 0;
  if (total === 0) console.log('FAIL ' + importJson + ': our import found nothing to compare');
  for (const file of files) {
    let found;
    try {
      found = fromWebIfc(WebIFC, api, file);
    } catch (e) {
      console.log('FAIL ' + file + ': ' + (e && e.message ? e.message : e));
      failed = true;
      continue;
    }
    const differing = Object.keys(KINDS).filter(
        (kind) => JSON.stringify(found.ids[kind]) !== JSON.stringify(expected[kind]));
    const counts = Object.keys(KINDS).map((kind) => found.ids[kind].length + ' ' + kind).join(', ');
    if (found.schema !== 'IFC2X3') differing.push('schema ' + found.schema);
    if (differing.length > 0) {
      failed = true;
      console.log('FAIL ' + file + ': differs in ' + differing.join(', '));
      for (const kind of differing.filter((k) => KINDS[k]))
        console.log('  ' + kind + ': web-ifc ' + JSON.stringify(found.ids[kind]) + ' import ' +
                    JSON.stringify(expected[kind]));
    } else {
      console.log('ok ' + path.basename(file) + ' (' + found.schema + '): ' + counts);
    }
  }
  process.exit(failed ? 1 : 0);
}

main().catch((e) => {
  console.log('FAIL ' + String(e && e.stack ? e.stack : e));
  process.exit(1);
});
