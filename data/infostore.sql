-- Information store "nuvelainfo.dll": read-only reference tables. Conversion rows are generated
-- from units.tsv when the store is made, so every rate traces back to its unit definitions.

CREATE TABLE NV_CONVERSION (
    "TYPE" TEXT,
    UNIT1 TEXT COLLATE NOCASE,
    UNIT2 TEXT COLLATE NOCASE,
    "Value" REAL,
    VIEWTYPE TEXT COLLATE NOCASE,
    MATRIC TEXT COLLATE NOCASE
);
CREATE INDEX nv_conversion_pair ON NV_CONVERSION ("TYPE", UNIT1, UNIT2);

CREATE TABLE NV_CONDENSITY (
    MATERIAL TEXT COLLATE NOCASE,
    density REAL
);

CREATE TABLE WIA_ColorScheme (
    SchemeName TEXT COLLATE NOCASE,
    FontColor INTEGER,
    Row1Color INTEGER,
    Row2Color INTEGER
);
