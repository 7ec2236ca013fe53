-- Data store "nuveladata.dll": schema and reference rows.
-- Dates are canonical text 'yyyy-MM-dd HH:mm:ss'; yes/no columns hold 0 or 1; text compares
-- without regard to case, except file paths (case-sensitive file systems tell files apart).

CREATE TABLE nv_setup (
    "key" TEXT COLLATE NOCASE,
    national INTEGER NOT NULL DEFAULT 0,
    Business INTEGER NOT NULL DEFAULT 0
);
INSERT INTO nv_setup ("key", national, Business) VALUES ('', 0, 0);

CREATE TABLE nv_tooltip (
    Code TEXT COLLATE NOCASE PRIMARY KEY,
    Tooltip TEXT
);
INSERT INTO nv_tooltip (Code, Tooltip) VALUES
 ('UTL005', 'Conversions: choose a type on the tool bar, type a value, pick the From and To units and press Convert. ALL lists the value in every unit of the type.'),
 ('UTL0015', 'Photo editor: open a picture, then apply effects, drawing and turns from the tool bar. Save keeps the picture in its own format.'),
 ('UTL0020', 'Notebook: documents by name, category or date. Select a document to view it; double-click to edit; use the filter panel to narrow the list.'),
 ('UTL0029', 'Windows utility: start system settings pages, open special folders and accessories, and create shortcuts.'),
 ('UTL0031', 'Database utility: open a database, pick a table to list its fields and records, mark fields to sort and filter, and keep favourites.'),
 ('UTL0035', 'File organizer: pick a folder to list its files, or scan a whole tree into the catalogue. Filter by extension and dates, search by name, and copy, move, rename or delete files.'),
 ('UTL0037', 'Batch rename: choose up to four name parts, then rename the marked files in place or copy them under their new names to another folder.'),
 ('UTL0038', 'Save to folder: copies the marked files into sub-folders by extension, year and month of creation.'),
 ('UTL0060', 'Document editor: write and format the document; keywords and word lists help you type. Save writes it back in rich-text form.'),
 ('UTL0063', 'Quick conversions: drag a slider to convert at once; Custom adds a slider for any two units of one type.');

CREATE TABLE filedetails (
    Name TEXT COLLATE NOCASE,
    ext TEXT COLLATE NOCASE,
    "Group" TEXT COLLATE NOCASE,
    CDate TEXT,
    mdate TEXT,
    Size INTEGER,
    Location TEXT,
    Attribute INTEGER
);
CREATE INDEX filedetails_location ON filedetails (Location);

CREATE TABLE FILECATEGORY (
    FolderType TEXT COLLATE NOCASE,
    Fileext TEXT COLLATE NOCASE,
    DefFolderPath TEXT,
    RootPath TEXT,
    User1 TEXT,
    User2 TEXT,
    Icon TEXT
);
INSERT INTO FILECATEGORY (FolderType, Fileext) VALUES
 ('Document', '*.doc,*.docx,*.rtf,*.txt,*.odt,*.pdf,*.wri,*.md'),
 ('Spreadsheet', '*.xls,*.xlsx,*.ods,*.csv'),
 ('Picture', '*.jpg,*.jpeg,*.bmp,*.gif,*.png,*.tif,*.tiff,*.tga,*.pcx,*.ico,*.svg,*.webp'),
 ('Music', '*.mp3,*.wav,*.wma,*.ogg,*.flac,*.mid,*.midi,*.m4a'),
 ('Video', '*.avi,*.mpg,*.mpeg,*.mp4,*.mkv,*.mov,*.wmv,*.webm'),
 ('Database', '*.mdb,*.accdb,*.dbf,*.db,*.sqlite'),
 ('Web', '*.htm,*.html,*.css,*.xml'),
 ('Program', '*.exe,*.com,*.bat,*.sh,*.msi,*.dll,*.so'),
 ('Archive', '*.zip,*.rar,*.7z,*.tar,*.gz,*.bz2,*.xz');

CREATE TABLE nv_notesdairy1 (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    DocumentName TEXT COLLATE NOCASE,
    "date" TEXT,
    Category1 TEXT COLLATE NOCASE,
    "Type" TEXT COLLATE NOCASE,
    mDate TEXT,
    SerialNo INTEGER,
    ext TEXT COLLATE NOCASE,
    Author TEXT COLLATE NOCASE,
    Version TEXT COLLATE NOCASE,
    Progress TEXT COLLATE NOCASE,
    Flags TEXT COLLATE NOCASE,
    path TEXT,
    bgcolor INTEGER,
    DocType TEXT COLLATE NOCASE,
    Picfilelink TEXT,
    keyword TEXT COLLATE NOCASE,
    DueDate TEXT,
    Content TEXT COLLATE NOCASE,
    "Current" INTEGER NOT NULL DEFAULT 0,
    usertemplate TEXT COLLATE NOCASE
);
CREATE INDEX nv_notesdairy1_path ON nv_notesdairy1 (path);

CREATE TABLE Nv_nbShow (
    FldName TEXT COLLATE NOCASE,
    Show INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE Ut_notebookMaster (
    Flags TEXT COLLATE NOCASE
);
CREATE TABLE ut_NbKeyword (
    Keyword TEXT COLLATE NOCASE,
    Subject TEXT COLLATE NOCASE
);
CREATE TABLE pda_Keyword1 (
    keyword TEXT COLLATE NOCASE
);

CREATE TABLE favdbname (
    dbname TEXT COLLATE NOCASE,
    dbtype TEXT COLLATE NOCASE,
    Loc TEXT,
    BackColor INTEGER,
    BackColorA INTEGER,
    ForColor INTEGER
);
CREATE TABLE FavTable (
    dbpath TEXT,
    tblname TEXT COLLATE NOCASE
);
CREATE TABLE favfldname (
    dbpath TEXT,
    tblName TEXT COLLATE NOCASE,
    FieldName TEXT COLLATE NOCASE,
    MSelected INTEGER NOT NULL DEFAULT 0,
    VSelected INTEGER NOT NULL DEFAULT 1
);
CREATE TABLE favchoices (
    dbpath TEXT,
    tblname TEXT COLLATE NOCASE,
    fieldname TEXT COLLATE NOCASE,
    choices TEXT COLLATE NOCASE
);
CREATE TABLE cla_dbchoices (
    Engname TEXT COLLATE NOCASE,
    tablename TEXT COLLATE NOCASE,
    Fieldname TEXT COLLATE NOCASE,
    "Value" TEXT COLLATE NOCASE,
    national TEXT COLLATE NOCASE
);
