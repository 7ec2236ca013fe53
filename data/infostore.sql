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

-- Densities in kg per cubic metre, at 20 degrees Celsius and normal pressure unless noted:
-- elements and liquids from the CRC Handbook of Chemistry and Physics; alloys, rocks, woods,
-- plastics and building materials are typical values from engineering tables (they vary with
-- composition). Water, ice and air name their own conditions.
INSERT INTO NV_CONDENSITY (MATERIAL, density) VALUES
 ('Water (4 degrees)', 1000),
 ('Sea water', 1025),
 ('Ice (0 degrees)', 917),
 ('Ethanol', 789),
 ('Petrol', 737),
 ('Diesel', 832),
 ('Kerosene', 810),
 ('Olive oil', 911),
 ('Milk', 1030),
 ('Glycerine', 1261),
 ('Mercury', 13534),
 ('Aluminium', 2699),
 ('Brass', 8530),
 ('Bronze', 8800),
 ('Cast iron', 7200),
 ('Copper', 8960),
 ('Gold', 19300),
 ('Iron', 7874),
 ('Lead', 11340),
 ('Nickel', 8908),
 ('Platinum', 21450),
 ('Silver', 10490),
 ('Stainless steel', 7930),
 ('Steel', 7850),
 ('Tin', 7287),
 ('Titanium', 4506),
 ('Zinc', 7134),
 ('Concrete', 2400),
 ('Brick', 1920),
 ('Glass', 2500),
 ('Granite', 2700),
 ('Marble', 2560),
 ('Sand (dry)', 1600),
 ('Cement', 1440),
 ('Clay', 1760),
 ('Oak', 750),
 ('Pine', 530),
 ('Teak', 660),
 ('Rubber', 1200),
 ('PVC', 1380),
 ('Polyethylene', 940),
 ('Cork', 240),
 ('Air (15 degrees, sea level)', 1.225);

CREATE TABLE WIA_ColorScheme (
    SchemeName TEXT COLLATE NOCASE,
    FontColor INTEGER,
    Row1Color INTEGER,
    Row2Color INTEGER
);

-- Colour schemes of the record grid: text, row and alternate-row colours as OLE values
-- (0x00BBGGRR; 0x800000nn a system colour: 8 window text, 5 window).
INSERT INTO WIA_ColorScheme (SchemeName, FontColor, Row1Color, Row2Color) VALUES
 ('Classic', 0, 16777215, 15790320),
 ('System', 2147483656, 2147483653, 2147483653),
 ('Ledger', 1784347, 16777215, 15332840),
 ('Ocean', 4531467, 16777215, 16642787),
 ('Sand', 2303806, 16252415, 14543861),
 ('Rose', 4788317, 16777215, 15525116),
 ('Mint', 3293979, 16055025, 14480344),
 ('Lavender', 9575217, 16777215, 16181229),
 ('Slate', 15855596, 3682854, 5195575),
 ('High Contrast', 16777215, 0, 1710618);
