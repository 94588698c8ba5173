#pragma once
// Table storage result codes, their texts, and the numbered places that raise
// them (shown as the second "Error #" line of the error box).
namespace tablestore {

// Every operation returns 0 on success or one of these (all negative).
enum ErrorCode : int {
  kOk = 0,
  kErrClose = -10,           // "Closing File"
  kErrCreate = -20,          // "Creating File"
  kErrLength = -30,          // "Determining File Length"
  kErrSetLength = -40,       // "Setting File Length"
  kErrOpen = -60,            // "Opening File"
  kErrOpenPermission = -61,  // "Permission Error Opening File"
  kErrOpenAccess = -62,      // "Access Error Opening File"
  kErrOpenHandles = -63,     // "File Handle Count Overflow Error Opening File"
  kErrOpenFind = -64,        // "File Find Error Opening File"
  kErrOpenDuplicate = -69,   // "Duplicate Instance Found Error Opening File"
  kErrRead = -70,            // "Reading File"
  kErrRemove = -80,          // "Removing File"
  kErrRename = -90,          // "Renaming File"
  kErrWrite = -120,          // "Writing to File"
  kErrData = -200,           // "File is not a Data File"
  kErrFieldName = -210,      // "Unrecognized Field Name"
  kErrFieldType = -220,      // "Unrecognized Field Type"
  kErrRecordLength = -230,   // "Record Length is too Large"
  kErrAppendPastEnd = -240,  // "Record Append Attempt Past End of File"
  kErrSeek = -250,           // "Seeking to File Position"
  kErrOverflow = -440,       // "Overflow while Evaluating Expression"
  kErrInfo = -910,           // "Unexpected Information"
  kErrMemory = -920,         // "Out of Memory"
  kErrParameter = -930,      // "Unexpected Parameter"
  kErrNullParameter = -935,  // "Null Input Parameter unexpected"
  kErrResult = -950,         // "Unexpected Result"
  kErrStructure = -960,      // "Structure Verification Failure"
};

// The text shown for a code; "Unknown Error" for a code not in the list.
const char* errorText(int code);

// Where an error was raised: one number per operation step, so a report from
// the field names the step that failed.
enum Where : int {
  kAtInit = 3100,
  kAtOpen = 3110,
  kAtOpenHeader = 3111,
  kAtOpenLength = 3112,
  kAtOpenDuplicate = 3113,
  kAtCreate = 3120,
  kAtCreateFields = 3121,
  kAtCreateWrite = 3122,
  kAtClose = 3130,
  kAtGo = 3140,
  kAtGoRead = 3141,
  kAtWriteBack = 3150,
  kAtAppend = 3160,
  kAtWriteRecord = 3170,
  kAtHeader = 3180,
  kAtFlush = 3190,
  kAtPack = 3200,
  kAtOpenGap = 3210,
  kAtBlockBuffer = 3220,
  kAtAssign = 3230,
  kAtRead = 3240,
};

}  // namespace tablestore
