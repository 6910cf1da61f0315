/// @file TrCommonClasses.h
/// Exported classes of TrCommon.dll.
///
/// This header serves only hosts built with the library's own toolchain
/// (mingw-w64 g++, the same C++ standard library): the classes are exported
/// with their C++ names and pass std::string, std::list and std::function
/// across the interface. Hosts of any other compiler or runtime use the plain
/// C exports of TrCommon.h alone.
///
/// Texts are std::string bytes of the ANSI code page; ordered record lists
/// are std::list, a position being an iterator with the list's end standing
/// for "no position".
#ifndef TRCOMMONCLASSES_H
#define TRCOMMONCLASSES_H

#include "TrCommon.h"

#include <list>
#include <string>

#ifdef TRCOMMON_BUILD
#define TRCLASS_API __declspec(dllexport)
#else
/// Exports the classes when the library is built, imports them in a host.
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

/// The application bound to an event. Records own their texts and copy
/// deeply; an empty text means "not set".
class TRCLASS_API CTrBaseData {
public:
    CTrBaseData();  ///< An empty object.
    /// Copies the five texts. @param other the record copied.
    CTrBaseData(const CTrBaseData& other);
    virtual ~CTrBaseData();  ///< Releases what the object holds.
    virtual void AllClear();  ///< Empties the five texts.

    /// Sets the title. @param text the new title.
    void SetTitle(const std::string& text);
    /// Sets the description. @param text the new description.
    void SetDescription(const std::string& text);
    /// Sets the program, document or shortcut to start. @param text the path.
    void SetPath(const std::string& text);
    /// Sets the command-line arguments. @param text the arguments.
    void SetOption(const std::string& text);
    /// Sets the working folder. @param text the folder.
    void SetWorkDir(const std::string& text);
    /// @return the title.
    const std::string& GetTitle() const;
    /// @return the description.
    const std::string& GetDescription() const;
    /// @return the program, document or shortcut to start.
    const std::string& GetPath() const;
    /// @return the command-line arguments.
    const std::string& GetOption() const;
    /// @return the working folder.
    const std::string& GetWorkDir() const;

    /// Copies the five texts. @param other the record copied. @return this record.
    const CTrBaseData& operator=(const CTrBaseData& other);

protected:
    // The databases fill the fields of the records they load in place.
    friend class CTrNumeralKeyDB;  ///< fills the texts of the records it loads
    friend class CTrStringKeyDB;   ///< fills the texts of the records it loads
    friend class CTrJogDataDB;     ///< fills the texts of the records it loads

    std::string m_strTitle;        ///< "Title:"
    std::string m_strDescription;  ///< "Description:"
    std::string m_strPath;         ///< "Path:"
    std::string m_strOption;       ///< "Option:"
    std::string m_strWorkDir;      ///< "WorkDir:"
};

/// A record filed under a 32-bit number ("Key:" as eight hexadecimal digits).
class TRCLASS_API CTrNumeralKeyData : public CTrBaseData {
public:
    CTrNumeralKeyData();  ///< Key 0, texts empty.
    /// An empty record with a key. @param dwKey the key.
    explicit CTrNumeralKeyData(DWORD dwKey);
    /// Copies the texts and the key. @param other the record copied.
    CTrNumeralKeyData(const CTrNumeralKeyData& other);
    virtual ~CTrNumeralKeyData();  ///< Releases what the object holds.
    virtual void AllClear();  ///< Key 0, texts empty.
    void BaseClear();         ///< Texts empty, the key stays.

    /// Sets the key. @param dwKey the key.
    void SetKey(DWORD dwKey);
    /// @return the key.
    DWORD GetKey() const;

    /// Copies the texts and the key. @param other the record copied. @return this record.
    const CTrNumeralKeyData& operator=(const CTrNumeralKeyData& other);

protected:
    DWORD m_dwKey;  ///< "Key:"
};

/// A record filed under a text key, with the keyed item's name and attribute.
class TRCLASS_API CTrStringKeyData : public CTrBaseData {
public:
    CTrStringKeyData();  ///< An empty object.
    /// Copies all eight texts. @param other the record copied.
    CTrStringKeyData(const CTrStringKeyData& other);
    virtual ~CTrStringKeyData();  ///< Releases what the object holds.
    virtual void AllClear();  ///< All eight texts empty.
    void BaseClear();         ///< The five application texts only.

    /// Sets the key (compared byte for byte). @param text the key.
    void SetKey(const std::string& text);
    /// Sets the keyed item's name. @param text the name.
    void SetName(const std::string& text);
    /// Sets the keyed item's attribute. @param text the attribute.
    void SetAttribute(const std::string& text);
    /// @return the key.
    const std::string& GetKey() const;
    /// @return the keyed item's name.
    const std::string& GetName() const;
    /// @return the keyed item's attribute.
    const std::string& GetAttribute() const;

    /// Copies all eight texts. @param other the record copied. @return this record.
    const CTrStringKeyData& operator=(const CTrStringKeyData& other);

protected:
    friend class CTrStringKeyDB;  ///< fills the fields of the records it loads

    std::string m_strAttribute;  ///< "Attribute:"
    std::string m_strName;       ///< "Name:"
    std::string m_strKey;        ///< "Key:"
};

/// An entry of the jog dial's menu: an application, or a folder when its
/// Path is empty. The level is the entry's depth in the menu tree, -1 for none.
class TRCLASS_API CTrJogData : public CTrBaseData {
public:
    CTrJogData();  ///< Level -1, texts empty.
    /// Copies the texts and the level. @param other the entry copied.
    CTrJogData(const CTrJogData& other);
    virtual ~CTrJogData();  ///< Releases what the object holds.
    virtual void AllClear();  ///< Level -1, texts empty.

    /// Sets the depth in the menu tree. @param nLevel the level, -1 for none.
    void SetLevel(int nLevel);
    /// @return the depth in the menu tree, -1 for none.
    int GetLevel() const;
    int IsFolder() const;  ///< @return 1 when the Path is empty (a folder), else 0.

    /// Copies the texts and the level. @param other the entry copied. @return this entry.
    const CTrJogData& operator=(const CTrJogData& other);

protected:
    int m_nLevel;  ///< depth in the menu tree, -1 for none
};

/// A place in a database's record list: an iterator of the list of whichever
/// record type the database keeps (std::monostate before any list exists).
/// The list's end() stands for "no position".
typedef std::variant<std::monostate, std::list<CTrNumeralKeyData>::iterator,
                     std::list<CTrStringKeyData>::iterator, std::list<CTrJogData>::iterator>
    TrDataPosition;

// Result codes of Load, Write and the parsing steps.
#define TR_DB_OK 0          ///< Data-file result: success.
#define TR_DB_NO_FILE 1     ///< Data-file result: the file cannot be opened (missing, locked, a folder, path too long).
#define TR_DB_BAD_SECTION 2 ///< Data-file result: a section lacks or repeats the lines its database requires.
#define TR_DB_WRITE_FAIL 4  ///< Data-file result: a record's line cannot be written (inside WriteAllData).
#define TR_DB_CUT_TITLE 5   ///< Data-file result: the file ends directly after a section's "Title:" line.
#define TR_DB_NO_SECTION 6  ///< Data-file result: the file holds no section at all.

/// The data-file engine: one text file of "Title:" sections, each a record.
///
/// Load reads the whole file in one go (without sharing, so another process's
/// Load or Write of the same file meanwhile gives 1) and parses it in memory.
/// Write gathers the new text in memory, writes it to a file beside the
/// original ("<file>~") and puts that in the original's place in one step, so
/// the file holds its old content or the whole new one at every moment (other
/// processes' opens are refused meanwhile). Its result is 1 in every case: a
/// file that cannot be opened gives 1, and a completed write gives what the
/// databases' WriteAllData give, which is 1 for all three (a record whose
/// line cannot be gathered gives 4 inside WriteAllData and is passed over).
/// The thread's last error tells the outcomes apart (GetLastError right after
/// Write):
///  - ERROR_SUCCESS: the file was rewritten completely;
///  - the open's error, the file untouched apart from a read-only attribute
///    cleared for a retry: ERROR_SHARING_VIOLATION (another process holds the
///    file), ERROR_ACCESS_DENIED (a folder, or a file that stays read-only),
///    ERROR_PATH_NOT_FOUND and the like; ERROR_BAD_PATHNAME for a path that is
///    empty or longer than 259 characters;
///  - the write's or the replacement's error, such as ERROR_DISK_FULL: the
///    file keeps its old content;
///  - ERROR_NOT_ENOUGH_MEMORY: records that could not be gathered are missing
///    from the file.
/// Every Write of a numeral-key or string-key file that got the file open
/// posts "TrMsgRewriteWindow" to the client window; the jog menu posts nothing.
///
/// No member with a result throws: out of memory gives its failure result
/// (1 from Load and Write, null or 0 from the others). Constructors, copies,
/// Add and the setters report it as any C++ object does, with std::bad_alloc.
class TRCLASS_API CTrAbstDB {
public:
    /// The data file while Load or Write runs: the whole file's bytes and a
    /// read offset while loading, the new text while writing.
    class CDataFile {
    public:
        CDataFile();  ///< An empty object.
        /// @return true between an Open call and Close.
        bool IsOpen() const;
        /// Opens for reading. @param bytes the file's bytes. @param keeper
        /// what keeps them valid until Close.
        void OpenBytes(std::string_view bytes, std::shared_ptr<const void> keeper);
        void OpenNew();  ///< Opens an empty text for writing.
        void Close();    ///< Drops the bytes or the text; IsOpen() is false afterwards.
        /// Next line without its line end (LF, or CR LF). @param line
        /// receives it. @return false at the end (line then untouched).
        bool ReadString(std::string& line);
        /// The same as a view into the file's bytes, valid until Close.
        /// @param line receives it. @return false at the end.
        bool ReadLine(std::string_view& line);
        /// The same with the set of labels that occur in the line (bits of the
        /// data-file label ids), found in the same pass over its bytes.
        /// @param line receives it. @param labels receives the set.
        /// @return false at the end.
        bool ReadLine(std::string_view& line, unsigned& labels);
        /// @return the read offset in bytes.
        DWORD GetPosition() const;
        void SeekToBegin();  ///< Reads from the first byte again.
        /// Appends label, value and a CR LF line end. @param label the
        /// line's label (such as "Title:"). @param value its value.
        /// @return false when it cannot (the text then unchanged).
        bool WriteLine(std::string_view label, std::string_view value);
        /// False when a WriteLine since OpenNew failed (out of memory).
        bool AllWritten() const;
        /// @return the text written so far.
        const std::string& Text() const;

    private:
        std::string_view m_bytes;              // what is read
        std::shared_ptr<const void> m_keeper;  // keeps m_bytes valid
        std::string m_strText;                 // what is written
        std::size_t m_nNext;
        bool m_bOpen;
        bool m_bLineLost;  ///< a WriteLine since OpenNew failed
    };

    CTrAbstDB();  ///< An empty object.
    /// Puts the read cursor on the first record. @return 1.
    virtual int Rewind() = 0;
    virtual ~CTrAbstDB();  ///< Releases what the object holds.

private:
    virtual int WriteAllData(std::string& strPath) = 0;
    virtual TrDataPosition GetPosition() = 0;

public:
    virtual void ClearAll() = 0;  ///< Removes every record.

private:
    virtual int LoadAllData(std::string& strTitleLine) = 0;

public:
    /// Reads a data file, replacing the records held.
    /// @param strPath the file, remembered for Reload.
    /// @return a TR_DB_* code: #TR_DB_OK, or why the file could not be read
    /// (the records then hold what was parsed before the failure).
    int Load(const std::string& strPath);
    /// Loads the file of the last Load again. @return as Load().
    int Reload();
    /// Writes every record back as the file's new content (see the class).
    /// @param strPath the file. @return 1 (see the class for how the thread's
    /// last error tells the outcomes apart).
    int Write(const std::string& strPath);
    /// @return the number of records the last Load read (for the jog menu:
    /// the entries with a "Path:" line).
    int GetDataNumber() const;

    CTrAbstDB(const CTrAbstDB&) = delete;  ///< Not copyable.
    CTrAbstDB& operator=(const CTrAbstDB&) = delete;  ///< Not copyable.

protected:
    /// A line of a section: a view into m_file's bytes, and the set of labels
    /// that occur in it, found once when the line is read.
    struct SectionLine {
        std::string_view text;  ///< the line without its line end
        unsigned labels;        ///< the data-file labels that occur in it
    };
    typedef std::vector<SectionLine> SectionLines;  ///< the lines of one section

    /// Parses the open file's sections into records (after ClearAll).
    /// @return a TR_DB_* code; #TR_DB_NO_SECTION when the file has none.
    int OpenLoadFile();
    /// The next line of m_file with its labels. @param line receives it.
    /// @return false at the end of the file.
    bool ReadSectionLine(SectionLine& line);
    /// Collects the lines of a section after its "Title:" line.
    /// @param lines receives the lines. @param line the current line;
    /// receives the next section's first line.
    /// @return 1 when it stopped at the next section, 0 at the end of the file.
    int LoadOneSection(SectionLines& lines, SectionLine& line);
    /// Loads section after section from the title line on, counting them in
    /// m_nDataNumber. @param strTitleLine the first section's "Title:" line.
    /// @param store makes a record of one section's lines, false for a bad
    /// section, which ends the load. @return a TR_DB_* code.
    int LoadSections(std::string& strTitleLine, const std::function<bool(const SectionLines&)>& store);
    /// Writes a comment line. @param strComment the line, ";" included.
    /// @return #TR_DB_OK or #TR_DB_WRITE_FAIL.
    int WriteComment(const std::string& strComment);

private:
    int PostMessageToRewriteData();
    int SeekToFirstSection(DWORD& dwPosition, std::string& strLine);
    int SeekToNextSection(DWORD& dwPosition, std::string& strLine, int bFirst);

protected:
    int m_nDBType;              ///< 1 jog menu, 2 numeral-key, 3 string-key
    std::string m_strFileName;  ///< the file of the last Load
    TrDataPosition m_posRead;   ///< the read cursor of Read
    CDataFile m_file;           ///< the file while Load or Write runs
    int m_nDataNumber;          ///< records of the last Load
    std::string m_strComment;   ///< the file's comment line, written back first
};

/// Records filed under 32-bit keys; lookups take the first match in file
/// order. Record pointers stay valid until the list changes.
class TRCLASS_API CTrNumeralKeyDB : public CTrAbstDB {
public:
    typedef std::list<CTrNumeralKeyData> DataList;  ///< the records, in file order

    CTrNumeralKeyDB();  ///< An empty object.
    virtual int Rewind();  ///< Puts the read cursor on the first record. @return 1.
    virtual ~CTrNumeralKeyDB();  ///< Releases what the object holds.
    virtual void ClearAll();  ///< Removes every record.

    /// The record at the read cursor, which then moves on.
    /// @param bFromFirst non-zero: Rewind first. @return NULL at the end.
    const CTrNumeralKeyData* Read(int bFromFirst);
    /// @param dwKey the key. @return the first record with it, NULL when none.
    CTrNumeralKeyData* Find(DWORD dwKey);
    /// @param dwFirst high part. @param dwSecond low part (see GenerateKey).
    /// @return the first record with that key, NULL when none.
    CTrNumeralKeyData* Find(DWORD dwFirst, DWORD dwSecond);
    /// @param dwFirst high part. @param dwSecond low part.
    /// @return first * 2^24 + second, modulo 2^32.
    static DWORD GenerateKey(DWORD dwFirst, DWORD dwSecond);  // first * 2^24 + second, modulo 2^32
    /// Appends a copy of a record. @param data the record.
    void Add(const CTrNumeralKeyData& data);
    /// Replaces the texts of the first record with the key (its key stays),
    /// or appends a copy under that key. @param dwKey the key. @param data
    /// the texts. @return 1; 0 when memory runs out (nothing changed).
    int Set(DWORD dwKey, const CTrNumeralKeyData& data);
    /// As Set(DWORD, const CTrNumeralKeyData&) with GenerateKey(dwFirst, dwSecond).
    /// @param dwFirst high part. @param dwSecond low part. @param data the texts. @return 1.
    int Set(DWORD dwFirst, DWORD dwSecond, const CTrNumeralKeyData& data);

private:
    virtual int WriteAllData(std::string& strPath);
    virtual TrDataPosition GetPosition();
    virtual int LoadAllData(std::string& strTitleLine);
    int StoreData(const SectionLines& lines, CTrNumeralKeyData& data);
    int WriteData(const CTrNumeralKeyData& data);
    DWORD Xtoi(std::string_view strDigits);

protected:
    std::unique_ptr<DataList> m_pDataList;  ///< the records
};

/// Records filed under text keys (compared byte for byte, case-sensitive).
/// Record pointers stay valid until the list changes.
class TRCLASS_API CTrStringKeyDB : public CTrAbstDB {
public:
    typedef std::list<CTrStringKeyData> DataList;  ///< the records, in file order

    CTrStringKeyDB();  ///< An empty object.
    virtual int Rewind();  ///< Puts the read cursor on the first record. @return 1.
    virtual ~CTrStringKeyDB();  ///< Releases what the object holds.
    virtual void ClearAll();  ///< Removes every record.

    /// The record at the read cursor, which then moves on.
    /// @param bFromFirst non-zero: Rewind first. @return NULL at the end.
    const CTrStringKeyData* Read(int bFromFirst);
    /// @param strKey the key. @return the first record with it, NULL when none.
    CTrStringKeyData* Find(const std::string& strKey);
    /// @param nIndex 0-based position in file order. @return the record, NULL
    /// when out of range.
    CTrStringKeyData* Find(int nIndex);
    /// Appends a copy of a record. @param data the record.
    void Add(const CTrStringKeyData& data);
    /// Replaces every text but the key of the first record with the key.
    /// @param strKey the key. @param data the texts.
    /// @return 1; 0 when no record has the key (nothing changes).
    int Set(const std::string& strKey, const CTrStringKeyData& data);  // 0 when no record has the key
    /// Replaces every text but the key of the record at an index.
    /// @param nIndex 0-based position. @param data the texts.
    /// @return 1; 0 when out of range (nothing changes).
    int Set(int nIndex, const CTrStringKeyData& data);                 // 0 when out of range

private:
    virtual int WriteAllData(std::string& strPath);
    virtual TrDataPosition GetPosition();
    virtual int LoadAllData(std::string& strTitleLine);
    void SetData(CTrStringKeyData* pTarget, const CTrStringKeyData& source);
    int StoreData(const SectionLines& lines, CTrStringKeyData& data);
    int WriteData(const CTrStringKeyData& data);

protected:
    std::unique_ptr<DataList> m_pDataList;  ///< the records
};

/// The jog dial's menu: entries in menu order, nesting carried by the levels.
/// Positions are iterators of ReadList(); its end() is "no position".
class TRCLASS_API CTrJogDataDB : public CTrAbstDB {
public:
    typedef std::list<CTrJogData> DataList;  ///< the entries, in menu order
    typedef DataList::iterator Position;     ///< a place in ReadList(); end() for none

    CTrJogDataDB();  ///< An empty object.
    virtual int Rewind();  ///< Puts the read cursor on the first entry. @return 1.
    virtual ~CTrJogDataDB();  ///< Releases what the object holds.
    virtual void ClearAll();  ///< Removes every entry; the counters of the last load stay.

    /// The entry at the read cursor, which then moves on.
    /// @param bFromFirst non-zero: Rewind first. @return NULL at the end.
    const CTrJogData* Read(int bFromFirst);
    /// @return the list itself: walk it, change entries, keep its structure
    /// (insert and remove through the members below, which keep the cursors
    /// right).
    DataList* ReadList();
    int GetRootNumber() const;  ///< @return the folders of the last load.
    int GetMaxLevel() const;    ///< @return 1 + the deepest folder level of the last load.
    int GetAllNumber() const;   ///< @return folders + applications of the last load.
    /// Appends a copy of an entry. @param data the entry.
    void Add(const CTrJogData& data);
    /// The entry at a 0-based index, walked to from the nearest of the list's
    /// head, its tail and the place Get reached last, so a walk over every
    /// index, either way, is linear. @param nIndex below ReadList()->size().
    /// @return the entry; outside the list, a blank entry that belongs to no list.
    CTrJogData& Get(int nIndex);
    Position GetNowPosition() const;  ///< @return the place of the entry Read gave last.
    /// @param pos a place in ReadList(). @return its entry; for end(), a
    /// blank entry that belongs to no list.
    CTrJogData& GetAt(Position pos);
    /// Inserts a copy after a place (like every insert: end() and *ppNew
    /// untouched when memory runs out). @param pos the place; end(): append.
    /// @param data the entry. @param ppNew receives the copy when not NULL.
    /// @return the copy's place.
    Position InsertAfter(Position pos, const CTrJogData& data, CTrJogData** ppNew);   // end(): append
    /// Inserts a copy before a place. @param pos the place; end(): first.
    /// @param data the entry. @param ppNew receives the copy when not NULL.
    /// @return the copy's place.
    Position InsertBefore(Position pos, const CTrJogData& data, CTrJogData** ppNew);  // end(): first
    /// Inserts a copy as the first entry. @param data the entry. @return its place.
    Position InsertTop(const CTrJogData& data);
    /// Removes the entry at a place; cursors on it then point at nothing.
    /// @param pos the place. @return 1; 0 for end() (nothing removed).
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
    int m_nRootNumber;                      ///< folders of the last load
    int m_nMaxLevel;                        ///< 1 + the deepest folder level of the last load
    std::unique_ptr<DataList> m_pDataList;  ///< the entries
    Position m_posNow;                      ///< the entry Read gave last

private:
    void ForgetGetPlace();

    // The place Get reached last (index and position); every edit of the
    // list forgets it (index npos).
    std::size_t m_nGetIndex;
    Position m_posGet;
};

/// A refuse list: does a text contain any of the file's bracketed entries?
class TRCLASS_API CTrRefuseDB {
public:
    CTrRefuseDB();  ///< An empty object.
    virtual ~CTrRefuseDB();  ///< Releases what the object holds.
    /// Whether a text contains an entry of a refuse-list file.
    /// @param strText the text searched. @param strFileName the list file.
    /// @param nOpenResult receives 0 when the file was read, 1 when it cannot
    /// be opened.
    /// @return 1 when an entry occurs in the text, else 0.
    int IsInDB(const std::string& strText, const std::string& strFileName, int& nOpenResult);

    CTrRefuseDB(const CTrRefuseDB&) = delete;  ///< Not copyable.
    CTrRefuseDB& operator=(const CTrRefuseDB&) = delete;  ///< Not copyable.

private:
    int OpenDB(const std::string& strFileName);
    int CheckString(const std::string& strText);

    CTrAbstDB::CDataFile m_file;
};

// ---------------------------------------------------------------------------
// Event lookup: which application record is bound to an event.
// ---------------------------------------------------------------------------

/// Opens the databases an event needs, picks the database and the key from
/// the event's identifiers and finds the record. Calling order: construct,
/// OpenDataBases, Find as often as needed (records stay valid until
/// CloseDataBases), CloseDataBases, destroy. Nothing is cached: every open
/// reads the data files as they are at that moment. The destructor closes
/// whatever is still open, so no database outlives its finder.
class TRCLASS_API CTrAppDataFinder {
public:
    /// Bits of the open mask (bits 8 to 15 open nothing).
    enum : WORD {
        kXbus = 0x01,      ///< "XbusData.dat" and "XbusCtg.dat", all or nothing
        kUsb = 0x02,       ///< "USBData.dat"
        kSpare = 0x04,     ///< "FPData.dat" read as a string-key file (no event uses it)
        kFlashpod = 0x08,  ///< "FPData.dat"
        kSKey = 0x10,      ///< "SKeyData.dat"
        kPPK = 0x20,       ///< "PPKData.dat"
        kTimer = 0x40,     ///< "TimrData.dat"
        kJogPPK = 0x80,    ///< "JPPKData.dat"
    };

    CTrAppDataFinder();  ///< An empty object.
    virtual ~CTrAppDataFinder();  ///< Closes what is still open and frees TrLocale.DLL.
    // Two finders never share databases or the resource library.
    CTrAppDataFinder(const CTrAppDataFinder&) = delete;  ///< Not copyable.
    CTrAppDataFinder& operator=(const CTrAppDataFinder&) = delete;  ///< Not copyable.

    /// Loads the user's data files of an event.
    /// @param wOpenMask the k* bits of the databases wanted.
    /// @return 0 when every requested database loaded, else the OR of the
    /// failed bits; 0xFFFF (nothing opened) when TrLocale.DLL cannot be
    /// loaded. A string-key file without sections opens as an empty database,
    /// a numeral-key file without sections fails.
    int OpenDataBases(WORD wOpenMask);
    int CloseDataBases();  ///< Closes every database. @return always TRUE; harmless when nothing is open.

    /// Finds the record bound to an event.
    /// @param dwCategory 0 (PPK, SKey, Flashpod slot: key = event code), 1
    /// (devices: type bits 8-15 give the kind, key the device), 2 (timer), 3
    /// (JPPK).
    /// @param dwKey the event code or the device (see TrComGetAppDataOfPnPEvent).
    /// @param dwType the device type for category 1.
    /// @param bNoCategory non-zero: never fall back to an IEEE 1394 device
    /// type's record. @param bForceCategory non-zero: always take it.
    /// @param bFreeKey release the caller's device memory where the device
    /// rules say so.
    /// @return the record (valid until CloseDataBases); NULL when nothing
    /// matches or the database is not open.
    const CTrBaseData* Find(DWORD dwCategory, DWORD_PTR dwKey, DWORD dwType, int bNoCategory, int bForceCategory,
                            int bFreeKey);

    /// The text after the last backslash, padded on the left with '0' to 16
    /// characters. @param strSource the device path. @param strResult
    /// receives the key. @return TRUE; FALSE (result = source) without a backslash.
    static int ExtractLastKey(const std::string& strSource, std::string& strResult);
    /// The text between the first and the second backslash. @param strSource
    /// the device path. @param strResult receives the key. @return TRUE;
    /// FALSE when either backslash is missing or the text between them is empty.
    static int ExtractSecondKey(const std::string& strSource, std::string& strResult);

    int Reload();  ///< Does nothing. @return TRUE.

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
