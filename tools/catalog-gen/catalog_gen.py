#!/usr/bin/env python3
"""Writes the bundled catalogue (catalog/BureauPref.pfd and catalog/Data/RR/RRPP.vdx) from the
brand table brands.txt and the variety table varieties.txt beside this script.

    python3 tools/catalog-gen/catalog_gen.py           write the files
    python3 tools/catalog-gen/catalog_gen.py --check   only report whether they are up to date

Only the standard library is used, so the script runs wherever python3 does.
"""

import argparse
import re
import sys
import unicodedata
from pathlib import Path

HERE = Path(__file__).resolve().parent
CATALOG = HERE.parent.parent / "catalog"
SOURCES = CATALOG / "SOURCES.md"

CLASSES = {"うるち": 0, "もち": 1, "醸造用": 2}
STATUSES = {"必須": True, "選択": False}

# Identifier ranges per classification: the first range, then the overflow range. The program's
# built-in demonstration content is found by the first identifier of each first range.
ID_RANGES = {
    0: [range(1, 51), range(101, 151)],
    1: [range(51, 71), range(151, 171)],
    2: [range(71, 101), range(171, 201)],
}

# Prefecture–brand entries of the national lists in 2018 (うるち, もち, 醸造用), which the
# generator measures the catalogue against.
NATIONAL_2018 = {0: 795, 1: 131, 2: 207}
CLASS_NAMES = {0: "水稲うるち米", 1: "水稲もち米", 2: "醸造用玄米"}

MAX_PREFS = 9  # the region table has room for nine prefectures per region
REGION_COUNT = 8

DESCRIPTIVE = ["History", "BreedingYear", "BreedingPlace", "GrainShape", "Color", "Skin",
               "Groove", "Embryo", "ThousandWeight", "WhitePart", "Other"]


class TableError(Exception):
    pass


# --- syllabary order -----------------------------------------------------------------------------

_VOWEL_ROWS = {
    "あ": "あかさたなはまやらわ",
    "い": "いきしちにひみり",
    "う": "うくすつぬふむゆる",
    "え": "えけせてねへめれ",
    "お": "おこそとのほもよろを",
}
_VOWEL_OF = {kana: vowel for vowel, row in _VOWEL_ROWS.items() for kana in row}
_SMALL_TO_LARGE = str.maketrans("ぁぃぅぇぉっゃゅょゎ", "あいうえおつやゆよわ")
_KANA = re.compile(r"^[\u3041-\u3096\u30a1-\u30f6ー0-9A-Za-z]+$")


def _to_hiragana(text):
    return "".join(chr(ord(c) - 0x60) if "\u30a1" <= c <= "\u30f6" else c for c in text)


def _without_voicing(text):
    decomposed = unicodedata.normalize("NFD", text)
    return unicodedata.normalize("NFC", decomposed.replace("\u3099", "").replace("\u309a", ""))


def _numbers_padded(text):
    # "6号" must come before "14号": numbers compare by value, not digit by digit.
    return re.sub(r"[0-9]+", lambda m: m.group(0).zfill(8), text)


def collation_key(reading, name):
    """Dictionary order of Japanese: voiced and small kana sort with their plain forms, the long
    vowel mark counts as the vowel before it, hiragana and katakana are equal; ties go to the
    plain form first."""
    hira = _to_hiragana(re.sub(r"[、・\s]", "", reading))
    base = _without_voicing(hira).translate(_SMALL_TO_LARGE)
    primary = []
    for c in base:
        if c == "ー" and primary:
            c = _VOWEL_OF.get(primary[-1], primary[-1])
        primary.append(c)
    return (_numbers_padded("".join(primary)), _numbers_padded(hira), name)


# --- reading the tables --------------------------------------------------------------------------

def read_varieties(path, pedigree_keys):
    """Returns {name: {"reading", "History", "BreedingPlace", "BreedingYear", "sources"}}. A line
    that fills any pedigree field names, in its last cell, the sources that state it: keys of the
    pedigree table of SOURCES.md."""
    varieties = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        where = f"{path.name}:{number}"
        cells = [cell.strip() for cell in line.split("|")]
        cells += [""] * (6 - len(cells))
        if len(cells) != 6 or not cells[0]:
            raise TableError(f"{where}: expected NAME | READING | HISTORY | PLACE | YEAR | SOURCES")
        name, reading, history, place, year, sources = cells
        if name in varieties:
            raise TableError(f"{where}: {name} is listed twice")
        keys = sources.split()
        if (history or place or year) and not keys:
            raise TableError(f"{where}: {name}: a pedigree needs the key of the source that states it")
        if keys and not (history or place or year):
            raise TableError(f"{where}: {name}: sources given for an empty pedigree")
        unknown = [key for key in keys if key not in pedigree_keys]
        if unknown:
            raise TableError(f"{where}: {name}: source key(s) not in the pedigree table of "
                             f"SOURCES.md: {' '.join(unknown)}")
        if re.search(r"[()\u2715\u2716]|(?<![A-Za-z])[xX](?![A-Za-z])", history):
            raise TableError(f"{where}: {name}: write crosses with \u00d7 and full-width brackets")
        if year and not re.fullmatch(r"[0-9]{4}年", year):
            raise TableError(f"{where}: {name}: the year is written like 2001年")
        varieties[name] = {"reading": reading, "History": history, "BreedingPlace": place,
                           "BreedingYear": year, "sources": keys}
    return varieties


def reading_of(name, varieties):
    """The name's reading in hiragana: the one written in varieties.txt, or for a name in kana alone
    the name itself with katakana turned into hiragana."""
    reading = varieties.get(name, {}).get("reading", "")
    if reading:
        return reading
    if _KANA.match(name):
        return _to_hiragana(name)
    raise TableError(f"{name} needs a reading in varieties.txt")


def read_source_keys(path):
    """The keys of the source tables in SOURCES.md, rows of the form | KEY | ... with KEY a letter
    and digits: (keys of the brand-list sources, keys of the table under "## Pedigree sources")."""
    if not path.exists():
        raise TableError(f"{path.name} is missing")
    lists, pedigrees = set(), set()
    section = ""
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("## "):
            section = line[3:].strip()
        match = re.match(r"^\|\s*([A-Z][0-9]+)\s*\|", line)
        if match:
            (pedigrees if section == "Pedigree sources" else lists).add(match.group(1))
    return lists, pedigrees


def read_brands(path, varieties, source_keys):
    """Returns the regions as [(region name, [(prefecture name, [brand, ...]), ...]), ...], every
    prefecture's brands already in file order. Every prefecture names its sources on a line
    "出典 KEY ..." whose keys are in the source table."""
    regions = []
    cited = {}
    group_line = re.compile(r"^(\S+)\s+(\S+):(.*)$")
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        where = f"{path.name}:{number}"
        if line.startswith("地区 "):
            regions.append((line[3:].strip(), []))
            continue
        if line.startswith("都道府県 "):
            if not regions:
                raise TableError(f"{where}: a prefecture before any region")
            regions[-1][1].append((line[5:].strip(), []))
            continue
        if line.startswith("出典"):
            if not regions or not regions[-1][1]:
                raise TableError(f"{where}: sources before any prefecture")
            prefecture = regions[-1][1][-1][0]
            keys = line[2:].split()
            unknown = [key for key in keys if key not in source_keys]
            if not keys or unknown:
                raise TableError(f"{where}: {prefecture}: source key(s) not in SOURCES.md: "
                                 f"{' '.join(unknown) or '(none given)'}")
            if prefecture in cited:
                raise TableError(f"{where}: {prefecture} names its sources twice")
            cited[prefecture] = keys
            continue
        match = group_line.match(line)
        if not match or match.group(1) not in CLASSES or match.group(2) not in STATUSES:
            raise TableError(f"{where}: cannot read '{line}'")
        if not regions or not regions[-1][1]:
            raise TableError(f"{where}: brands before any prefecture")
        brands = regions[-1][1][-1][1]
        for word in match.group(3).split():
            pinned = word.startswith("*")
            name = word.lstrip("*")
            brands.append({"name": name, "class": CLASSES[match.group(1)],
                           "required": STATUSES[match.group(2)], "pinned": pinned,
                           "reading": reading_of(name, varieties), "where": where})
    for _, prefectures in regions:
        for prefecture, _ in prefectures:
            if prefecture not in cited:
                raise TableError(f"{path.name}: {prefecture} names no source (a line '出典 KEY ...')")
    return regions


# --- ordering and identifiers --------------------------------------------------------------------

def ordered(brands):
    """Classification by classification, required before optional, pinned names first in the
    order written, then syllabary order."""
    def key(item):
        position, brand = item
        pin = (0, position) if brand["pinned"] else (1, 0)
        return (brand["class"], not brand["required"], pin,
                collation_key(brand["reading"], brand["name"]))
    return [brand for _, brand in sorted(enumerate(brands), key=key)]


def assign_ids(brands, prefecture):
    used = {0: 0, 1: 0, 2: 0}
    seen = set()
    for brand in brands:
        cls = brand["class"]
        if (cls, brand["name"]) in seen:
            raise TableError(f"{brand['where']}: {brand['name']} twice in one classification "
                             f"of {prefecture}")
        seen.add((cls, brand["name"]))
        ids = [i for r in ID_RANGES[cls] for i in r]
        if used[cls] >= len(ids):
            raise TableError(f"{prefecture}: too many brands in classification {cls}")
        brand["id"] = ids[used[cls]]
        used[cls] += 1


# --- writing -------------------------------------------------------------------------------------

def _escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def variety_file(brands, varieties):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Generated from tools/catalog-gen/brands.txt and varieties.txt: edit those and "
             "run tools/catalog-gen/catalog_gen.py. -->",
             "<GRoot>",
             "  <Header>",
             f"    <DataCount>{len(brands)}</DataCount>",
             "  </Header>"]
    for index, brand in enumerate(brands):
        detail = varieties.get(brand["name"], {})
        lines.append(f'  <Grain Index="{index}">')
        lines.append(f"    <ID>{brand['id']}</ID>")
        lines.append(f"    <Name>{_escape(brand['name'])}</Name>")
        lines.append(f"    <Reading>{_escape(brand['reading'])}</Reading>")
        lines.append(f"    <Class>{brand['class']}</Class>")
        lines.append(f"    <Requierd>{'TRUE' if brand['required'] else 'FALSE'}</Requierd>")
        for element in DESCRIPTIVE:
            lines.append(f"    <{element}>{_escape(detail.get(element, ''))}</{element}>")
        lines.append("  </Grain>")
    lines.append("</GRoot>")
    return "\n".join(lines) + "\n"


def region_table(regions):
    lines = ["; Region table of the bundled catalogue (UTF-8), generated from tools/catalog-gen/brands.txt"]
    for b, (region, prefectures) in enumerate(regions, 1):
        lines.append("")
        lines.append(f"[Bureau{b:02d}]")
        lines.append(f"BureauName={region}")
        lines.append(f"PrefCnt={len(prefectures)}")
        for p, (prefecture, _) in enumerate(prefectures, 1):
            lines.append(f"PrefName{p:02d}={prefecture}")
    return "\n".join(lines) + "\n"


def build(regions, varieties):
    """Returns {relative path: content} for every file of the catalogue."""
    if len(regions) != REGION_COUNT:
        raise TableError(f"brands.txt has {len(regions)} regions, the region table needs {REGION_COUNT}")
    files = {"BureauPref.pfd": region_table(regions)}
    for b, (region, prefectures) in enumerate(regions, 1):
        if not 1 <= len(prefectures) <= MAX_PREFS:
            raise TableError(f"{region}: {len(prefectures)} prefectures (1..{MAX_PREFS} fit)")
        for p, (prefecture, brands) in enumerate(prefectures, 1):
            in_order = ordered(brands)
            assign_ids(in_order, prefecture)
            files[f"Data/{b:02d}/{b:02d}{p:02d}.vdx"] = variety_file(in_order, varieties)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="write nothing; exit 1 when a catalogue file differs from the tables")
    args = parser.parse_args()
    try:
        list_keys, pedigree_keys = read_source_keys(SOURCES)
        varieties = read_varieties(HERE / "varieties.txt", pedigree_keys)
        regions = read_brands(HERE / "brands.txt", varieties, list_keys)
        files = build(regions, varieties)
    except TableError as error:
        print(f"catalog_gen: {error}", file=sys.stderr)
        return 2
    listed = {brand["name"] for _, prefectures in regions for _, brands in prefectures
              for brand in brands}
    for name in sorted(set(varieties) - listed):
        print(f"catalog_gen: note: {name} in varieties.txt is listed in no prefecture",
              file=sys.stderr)

    stale = []
    for relative, content in files.items():
        target = CATALOG / relative
        current = target.read_text(encoding="utf-8") if target.exists() else None
        if current == content:
            continue
        stale.append(relative)
        if not args.check:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(content, encoding="utf-8", newline="\n")
    extra = sorted(str(p.relative_to(CATALOG)) for p in (CATALOG / "Data").rglob("*.vdx")
                   if str(p.relative_to(CATALOG)) not in files)
    for relative in extra:
        print(f"catalog_gen: {relative} is not produced by the tables", file=sys.stderr)

    brand_count = sum(content.count("<Grain ") for content in files.values())
    if args.check:
        for relative in stale:
            print(f"catalog_gen: {relative} is out of date", file=sys.stderr)
        return 1 if stale or extra else 0
    print(f"catalog_gen: {len(files) - 1} variety files, {brand_count} brands, "
          f"{len(stale)} file(s) written")
    for line in coverage(regions) + pedigree_coverage(regions, varieties):
        print(f"catalog_gen: {line}")
    return 1 if extra else 0


def coverage(regions):
    """Lines saying how many prefecture–brand entries each classification holds against the
    national lists of 2018."""
    counts = {cls: 0 for cls in CLASS_NAMES}
    for _, prefectures in regions:
        for _, brands in prefectures:
            for brand in brands:
                counts[brand["class"]] += 1
    lines = []
    for cls, name in CLASS_NAMES.items():
        lines.append(f"{name} {counts[cls]} / {NATIONAL_2018[cls]} "
                     f"({100 * counts[cls] / NATIONAL_2018[cls]:.0f} %)")
    total, national = sum(counts.values()), sum(NATIONAL_2018.values())
    lines.append(f"all classes {total} / {national} ({100 * total / national:.0f} %)")
    return lines


def pedigree_coverage(regions, varieties):
    """Lines saying how many of the distinct varieties, and of those required somewhere, carry a
    pedigree (a History), and which required ones do not."""
    listed, required = set(), set()
    for _, prefectures in regions:
        for _, brands in prefectures:
            for brand in brands:
                listed.add(brand["name"])
                if brand["required"]:
                    required.add(brand["name"])
    filled = {name for name in listed if varieties.get(name, {}).get("History")}
    missing = sorted(required - filled, key=lambda name: collation_key(reading_of(name, varieties), name))
    lines = [f"系譜: {len(filled)} / {len(listed)} 品種 ({100 * len(filled) / max(len(listed), 1):.0f} %), "
             f"必須の品種 {len(filled & required)} / {len(required)}"]
    if missing:
        lines.append("系譜のない必須の品種: " + " ".join(missing))
    return lines


if __name__ == "__main__":
    sys.exit(main())
