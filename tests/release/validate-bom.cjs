// node validate-bom.cjs VALIDATOR-DIR BOM.json: validates a CycloneDX JSON document against the
// published schema of its spec version (the schema files the CycloneDX library ships, checked by
// its strict JSON validator). Prints the errors and exits with 1 when it does not validate.
'use strict';
const fs = require('fs');
const path = require('path');
const [validatorDir, bomFile] = process.argv.slice(2);
const cdx = require(path.join(validatorDir, 'node_modules', '@cyclonedx', 'cyclonedx-library'));
const text = fs.readFileSync(bomFile, 'utf8');
const version = JSON.parse(text).specVersion;
if (!cdx.Spec.SpecVersionDict[version]) {
  console.log(`not a CycloneDX spec version this validator knows: ${version}`);
  process.exit(1);
}
new cdx.Validation.JsonStrictValidator(version).validate(text).then(errors => {
  if (errors === null) {
    console.log(`${bomFile}: valid CycloneDX ${version}`);
  } else {
    console.log(`${bomFile}: does not validate against CycloneDX ${version}:`);
    console.log(JSON.stringify(errors, null, 2));
    process.exit(1);
  }
}, err => { console.log(`validator failed: ${err}`); process.exit(1); });
