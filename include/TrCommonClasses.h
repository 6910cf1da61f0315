// TrCommonClasses.h - exported classes of TrCommon.dll.
//
// The classes are exported with their C++ names, so a host must be built with
// the same toolchain (mingw-w64 g++) to use them. Texts are std::string bytes
// of the ANSI code page; ordered record lists are std::list, a position being
// an iterator with the list's end standing for "no position".
#ifndef TRCOMMONCLASSES_H
#define TRCOMMONCLASSES_H

#include "TrCommon.h"

#include <list>
#include <string>

#ifdef TRCOMMON_BUILD
#define TRCLASS_API __declspec(dllexport)
#else
#define TRCLASS_API __declspec(dllimport)
#endif

// @@ classes below, one section per family

// ---------------------------------------------------------------------------
// Data files and records: the application records, the data-file engine and
// the databases built on it, and the refuse list.
// ---------------------------------------------------------------------------
#include <functional>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

class CTrNumeralKeyDB;
class CTrStringKeyDB;
class CTrJogDataDB;

// The application bound to an event. Records own their texts and copy deeply;
// an empty text means "not set".
class TRCLASS_API CTrBaseData {
public:
    CTrBaseData();
    CTrBaseData(const CTrBaseData& other);
    virtual ~CTrBaseData();
    virtual void AllClear();  // empties the five texts

    void SetTitle(const std::string& text);
    void SetDescription(const std::string& text);
    void SetPath(const std::string& text);
    void SetOption(const std::string& text);
    void SetWorkDir(const std::string& text);
    const std::string& GetTitle() const;
    const std::string& GetDescription() const;
    const std::string& GetPath() const;
    const std::string& GetOption() const;
    const std::string& GetWorkDir() const;

    const CTrBaseData& operator=(const CTrBaseData& other);

protected:
    // The databases fill the fields of the records they load in place.
    friend class CTrNumeralKeyDB;
    friend class CTrStringKeyDB;
    friend class CTrJogDataDB;

    std::string m_strTitle;
    std::string m_strDescription;
    std::string m_strPath;
    std::string m_strOption;
    std::string m_strWorkDir;
};

// A record filed under a 32-bit number ("Key:" as eight hexadecimal digits).
class TRCLASS_API CTrNumeralKeyData : public CTrBaseData {
public:
    CTrNumeralKeyData();  // key 0
    explicit CTrNumeralKeyData(DWORD dwKey);
    CTrNumeralKeyData(const CTrNumeralKeyData& other);
    virtual ~CTrNumeralKeyData();
    virtual void AllClear();  // key 0, texts empty
    void BaseClear();         // texts empty, the key stays

    void SetKey(DWORD dwKey);
    DWORD GetKey() const;

    const CTrNumeralKeyData& operator=(const CTrNumeralKeyData& other);

protected:
    DWORD m_dwKey;
};

// A record filed under a text key, with the keyed item's name and attribute.
class TRCLASS_API CTrStringKeyData : public CTrBaseData {
public:
    CTrStringKeyData();
    CTrStringKeyData(const CTrStringKeyData& other);
    virtual ~CTrStringKeyData();
    virtual void AllClear();  // all eight texts empty
    void BaseClear();         // the five application texts only

    void SetKey(const std::string& text);
    void SetName(const std::string& text);
    void SetAttribute(const std::string& text);
    const std::string& GetKey() const;
    const std::string& GetName() const;
    const std::string& GetAttribute() const;

    const CTrStringKeyData& operator=(const CTrStringKeyData& other);

protected:
    friend class CTrStringKeyDB;

    std::string m_strAttribute;
    std::string m_strName;
    std::string m_strKey;
};

// An entry of the jog dial's menu: an application, or a folder when its Path
// is empty. The level is the entry's depth in the menu tree, -1 for none.
class TRCLASS_API CTrJogData : public CTrBaseData {
public:
    CTrJogData();  // level -1
    CTrJogData(const CTrJogData& other);
    virtual ~CTrJogData();
    virtual void AllClear();  // level -1, texts empty

    void SetLevel(int nLevel);
    int GetLevel() const;
    int IsFolder() const;  // 1 when the Path is empty

    const CTrJogData& operator=(const CTrJogData& other);

protected:
    int m_nLevel;
};

// A place in a database's record list: an iterator of the list of whichever
// record type the database keeps (std::monostate before any list exists).
// The list's end() stands for "no position".
typedef std::variant<std::monostate, std::list<CTrNumeralKeyData>::iterator,
                     std::list<CTrStringKeyData>::iterator, std::list<CTrJogData>::iterator>
    TrDataPosition;

// Result codes of Load, Write and the parsing steps.
#define TR_DB_OK 0          // success
#define TR_DB_NO_FILE 1     // the file cannot be opened (missing, locked, a folder, path too long)
#define TR_DB_BAD_SECTION 2 // a section lacks or repeats the lines its database requires
#define TR_DB_WRITE_FAIL 4  // a line or the new content cannot be written
#define TR_DB_CUT_TITLE 5   // the file ends directly after a section's "Title:" line
#define TR_DB_NO_SECTION 6  // the file holds no section at all

// The data-file engine: one text file of "Title:" sections, each a record.
//
// Load reads the whole file in one go (without sharing, so another process's
// Load or Write of the same file meanwhile gives 1) and parses it in memory.
// Write gathers the new text in memory and writes it to the truncated file
// in one go. Write gives 0 when the file was rewritten, 1 when it cannot be
// opened for writing (the file is then untouched, apart from a read-only
// attribute that was cleared for a retry), and 4 when the new content could
// not be written completely: the file was truncated and may be empty or
// hold only the start of the new content. Every Write of a numeral-key or
// string-key file that got the file open (0 or 4) posts "TrMsgRewriteWindow"
// to the client window; the jog menu posts nothing.
class TRCLASS_API CTrAbstDB {
public:
    // The data file while Load or Write runs: the whole file's bytes and a
    // read offset while loading, the new text while writing.
    class CDataFile {
    public:
        CDataFile();
        bool IsOpen() const;
        // For reading: the bytes, and what keeps them valid until Close.
        void OpenBytes(std::string_view bytes, std::shared_ptr<const void> keeper);
        void OpenNew();  // for writing
        void Close();
        // Next line without its line end (LF, or CR LF); false at the end.
        bool ReadString(std::string& line);
        // The same as a view into the file's bytes, valid until Close.
        bool ReadLine(std::string_view& line);
        // The same with the set of labels that occur in the line (bits of the
        // data-file label ids), found in the same pass over its bytes.
        bool ReadLine(std::string_view& line, unsigned& labels);
        DWORD GetPosition() const;
        void SeekToBegin();
        // Appends text and a CR LF line end; false when it cannot.
        bool WriteLine(std::string_view label, std::string_view value);
        const std::string& Text() const;

    private:
        std::string_view m_bytes;              // what is read
        std::shared_ptr<const void> m_keeper;  // keeps m_bytes valid
        std::string m_strText;                 // what is written
        std::size_t m_nNext;
        bool m_bOpen;
    };

    CTrAbstDB();
    virtual int Rewind() = 0;
    virtual ~CTrAbstDB();

private:
    virtual int WriteAllData(std::string& strPath) = 0;
    virtual TrDataPosition GetPosition() = 0;

public:
    virtual void ClearAll() = 0;

private:
    virtual int LoadAllData(std::string& strTitleLine) = 0;

public:
    int Load(const std::string& strPath);
    int Reload();
    int Write(const std::string& strPath);
    int GetDataNumber() const;

    CTrAbstDB(const CTrAbstDB&) = delete;
    CTrAbstDB& operator=(const CTrAbstDB&) = delete;

protected:
    // A line of a section: a view into m_file's bytes, and the set of labels
    // that occur in it, found once when the line is read.
    struct SectionLine {
        std::string_view text;
        unsigned labels;
    };
    typedef std::vector<SectionLine> SectionLines;

    int OpenLoadFile();
    // The next line of m_file with its labels; false at the end of the file.
    bool ReadSectionLine(SectionLine& line);
    // Collects the lines of a section after its "Title:" line; 1 when it
    // stopped at the next section's first line, which is then in line, 0 at
    // the end of the file.
    int LoadOneSection(SectionLines& lines, SectionLine& line);
    // Loads section after section from the title line on, counting them in
    // m_nDataNumber; 'store' makes a record of one section's lines and gives
    // false for a bad section, which ends the load (result 2).
    int LoadSections(std::string& strTitleLine, const std::function<bool(const SectionLines&)>& store);
    int WriteComment(const std::string& strComment);

private:
    int PostMessageToRewriteData();
    int SeekToFirstSection(DWORD& dwPosition, std::string& strLine);
    int SeekToNextSection(DWORD& dwPosition, std::string& strLine, int bFirst);

protected:
    int m_nDBType;  // 1 jog menu, 2 numeral-key, 3 string-key
    std::string m_strFileName;
    TrDataPosition m_posRead;
    CDataFile m_file;
    int m_nDataNumber;
    std::string m_strComment;
};

// Records filed under 32-bit keys; lookups take the first match in file order.
class TRCLASS_API CTrNumeralKeyDB : public CTrAbstDB {
public:
    typedef std::list<CTrNumeralKeyData> DataList;

    CTrNumeralKeyDB();
    virtual int Rewind();
    virtual ~CTrNumeralKeyDB();
    virtual void ClearAll();

    const CTrNumeralKeyData* Read(int bFromFirst);
    CTrNumeralKeyData* Find(DWORD dwKey);
    CTrNumeralKeyData* Find(DWORD dwFirst, DWORD dwSecond);
    static DWORD GenerateKey(DWORD dwFirst, DWORD dwSecond);  // first * 2^24 + second, modulo 2^32
    void Add(const CTrNumeralKeyData& data);
    int Set(DWORD dwKey, const CTrNumeralKeyData& data);  // replaces the texts, or appends
    int Set(DWORD dwFirst, DWORD dwSecond, const CTrNumeralKeyData& data);

private:
    virtual int WriteAllData(std::string& strPath);
    virtual TrDataPosition GetPosition();
    virtual int LoadAllData(std::string& strTitleLine);
    int StoreData(const SectionLines& lines, CTrNumeralKeyData& data);
    int WriteData(const CTrNumeralKeyData& data);
    DWORD Xtoi(std::string_view strDigits);

protected:
    std::unique_ptr<DataList> m_pDataList;
};

// Records filed under text keys (compared byte for byte, case-sensitive).
class TRCLASS_API CTrStringKeyDB : public CTrAbstDB {
public:
    typedef std::list<CTrStringKeyData> DataList;

    CTrStringKeyDB();
    virtual int Rewind();
    virtual ~CTrStringKeyDB();
    virtual void ClearAll();

    const CTrStringKeyData* Read(int bFromFirst);
    CTrStringKeyData* Find(const std::string& strKey);
    CTrStringKeyData* Find(int nIndex);
    void Add(const CTrStringKeyData& data);
    int Set(const std::string& strKey, const CTrStringKeyData& data);  // 0 when no record has the key
    int Set(int nIndex, const CTrStringKeyData& data);                 // 0 when out of range

private:
    virtual int WriteAllData(std::string& strPath);
    virtual TrDataPosition GetPosition();
    virtual int LoadAllData(std::string& strTitleLine);
    void SetData(CTrStringKeyData* pTarget, const CTrStringKeyData& source);
    int StoreData(const SectionLines& lines, CTrStringKeyData& data);
    int WriteData(const CTrStringKeyData& data);

protected:
    std::unique_ptr<DataList> m_pDataList;
};

// The jog dial's menu: entries in menu order, nesting carried by the levels.
// Positions are iterators of ReadList(); its end() is "no position".
class TRCLASS_API CTrJogDataDB : public CTrAbstDB {
public:
    typedef std::list<CTrJogData> DataList;
    typedef DataList::iterator Position;

    CTrJogDataDB();
    virtual int Rewind();
    virtual ~CTrJogDataDB();
    virtual void ClearAll();  // the counters of the last load stay

    const CTrJogData* Read(int bFromFirst);
    // The list itself: walk it, change entries, keep its structure (insert
    // and remove through the members below, which keep the cursors right).
    DataList* ReadList();
    int GetRootNumber() const;  // folders of the last load
    int GetMaxLevel() const;    // 1 + the deepest folder level of the last load
    int GetAllNumber() const;   // folders + applications of the last load
    void Add(const CTrJogData& data);
    // The entry at a 0-based index, walked to from the nearest of the list's
    // head, its tail and the place Get reached last, so a walk over every
    // index, either way, is linear. The index must be below
    // ReadList()->size(); outside it, a blank entry that belongs to no list.
    CTrJogData& Get(int nIndex);
    Position GetNowPosition() const;  // of the entry Read gave last
    CTrJogData& GetAt(Position pos);
    Position InsertAfter(Position pos, const CTrJogData& data, CTrJogData** ppNew);   // end(): append
    Position InsertBefore(Position pos, const CTrJogData& data, CTrJogData** ppNew);  // end(): first
    Position InsertTop(const CTrJogData& data);
    int RemoveAt(Position pos);  // 0 for end()

private:
    virtual int WriteAllData(std::string& strPath);
    virtual TrDataPosition GetPosition();
    virtual int LoadAllData(std::string& strTitleLine);
    int CheckFolder(SectionLines& lines, SectionLine& line, int* pbMore);
    int StoreData(SectionLines* pLines, CTrJogData& data);
    int StoreSubData(SectionLines* pLines, CTrJogData& data);
    int WriteData(const CTrJogData& data);

protected:
    int m_nRootNumber;
    int m_nMaxLevel;
    std::unique_ptr<DataList> m_pDataList;
    Position m_posNow;

private:
    void ForgetGetPlace();

    // The place Get reached last (index and position); every edit of the
    // list forgets it (index npos).
    std::size_t m_nGetIndex;
    Position m_posGet;
};

// A refuse list: does a text contain any of the file's bracketed entries?
class TRCLASS_API CTrRefuseDB {
public:
    CTrRefuseDB();
    virtual ~CTrRefuseDB();
    // 1 when an entry occurs in the text; nOpenResult gets 0 when the file
    // was read, 1 when it cannot be opened (the result is then 0).
    int IsInDB(const std::string& strText, const std::string& strFileName, int& nOpenResult);

    CTrRefuseDB(const CTrRefuseDB&) = delete;
    CTrRefuseDB& operator=(const CTrRefuseDB&) = delete;

private:
    int OpenDB(const std::string& strFileName);
    int CheckString(const std::string& strText);

    CTrAbstDB::CDataFile m_file;
};

// ---------------------------------------------------------------------------
// Event lookup: which application record is bound to an event.
// ---------------------------------------------------------------------------

// Opens the databases an event needs, picks the database and the key from
// the event's identifiers and finds the record. Calling order: construct,
// OpenDataBases, Find as often as needed (records stay valid until
// CloseDataBases), CloseDataBases, destroy. Nothing is cached: every open
// reads the data files as they are at that moment. The destructor closes
// whatever is still open, so no database outlives its finder.
class TRCLASS_API CTrAppDataFinder {
public:
    // Bits of the open mask (bits 8 to 15 open nothing).
    enum : WORD {
        kXbus = 0x01,      // "XbusData.dat" and "XbusCtg.dat", all or nothing
        kUsb = 0x02,       // "USBData.dat"
        kSpare = 0x04,     // "FPData.dat" read as a string-key file (no event uses it)
        kFlashpod = 0x08,  // "FPData.dat"
        kSKey = 0x10,      // "SKeyData.dat"
        kPPK = 0x20,       // "PPKData.dat"
        kTimer = 0x40,     // "TimrData.dat"
        kJogPPK = 0x80,    // "JPPKData.dat"
    };

    CTrAppDataFinder();
    virtual ~CTrAppDataFinder();
    // Two finders never share databases or the resource library.
    CTrAppDataFinder(const CTrAppDataFinder&) = delete;
    CTrAppDataFinder& operator=(const CTrAppDataFinder&) = delete;

    // 0 when every requested database loaded, else the OR of the failed bits;
    // 0xFFFF (nothing opened) when TrLocale.DLL cannot be loaded. A string-key
    // file without sections opens as an empty database, a numeral-key file
    // without sections fails.
    int OpenDataBases(WORD wOpenMask);
    int CloseDataBases();  // always TRUE; harmless when nothing is open

    // category 0 (PPK, SKey, Flashpod slot: key = event code), 1 (devices:
    // type bits 8-15 give the kind, key the device), 2 (timer), 3 (JPPK).
    // bFreeKey: release the caller's device memory where the device rules say
    // so. NULL when nothing matches or the database is not open.
    const CTrBaseData* Find(DWORD dwCategory, DWORD_PTR dwKey, DWORD dwType, int bNoCategory, int bForceCategory,
                            int bFreeKey);

    // The text after the last backslash, padded on the left with '0' to 16
    // characters; FALSE (result = source) without a backslash.
    static int ExtractLastKey(const std::string& strSource, std::string& strResult);
    // The text between the first and the second backslash; FALSE when either
    // is missing or the text between them is empty.
    static int ExtractSecondKey(const std::string& strSource, std::string& strResult);

    int Reload();  // does nothing, TRUE

private:
    CTrBaseData* GetNumeralDBAppData(DWORD dwSlot, DWORD dwKey, DWORD dwHigh);
    CTrBaseData* GetStringDBAppData(int nSlot, DWORD_PTR dwDevice, int bFreeKey);
    CTrBaseData* GetWin2kStringDBAppData(int nSlot, DWORD_PTR dwDevice);
    CTrBaseData* GetXbusDBAppData(DWORD_PTR dwDevice, int bNoCategory, int bForceCategory, int bFreeKey);
    CTrBaseData* GetWin2kXbusDBAppData(DWORD_PTR dwDevice, int bNoCategory, int bForceCategory, int bFreeKey);
    CTrBaseData* XbusAnswer(const std::string& strUniqueKey, const std::string& strTypeKey, int bNoCategory,
                            int bForceCategory);
    int IsEnableCategoryApply();
    int IsLyraneEnable();
    int FreeRegInfoStructure(TR_REG_INFO_STRUC* pInfo);
    int FlashpodHighPart(DWORD_PTR dwKey);

    BOOL m_bWin2K;
    HMODULE m_hLocale;  // TrLocale.DLL, freed by the destructor
    std::unique_ptr<std::unique_ptr<CTrNumeralKeyDB>[]> m_ppNumeralDB;  // 5 slots
    std::unique_ptr<std::unique_ptr<CTrStringKeyDB>[]> m_ppStringDB;    // 3 slots
    std::unique_ptr<CTrStringKeyDB*[]> m_ppXbusDB;  // [0] string slot 0, [1] the category database
    WORD m_wOpenMask;
    std::unique_ptr<CTrStringKeyDB> m_pXbusCategoryDB;  // owns what m_ppXbusDB[1] points to
};

#endif  // TRCOMMONCLASSES_H
