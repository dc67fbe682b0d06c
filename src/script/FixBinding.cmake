# Finishes the C++ that tolua++5.1 made from tavro.pkg (cmake -DPKG= -DIN= -DOUT= -P):
# - numbers become integers and floats through TavroToInt and TavroToFloat, which hold them in
#   range (a plain cast of a huge or NaN number is undefined);
# - constructors and destructors go through the binding, which refuses to delete what a
#   script does not own and deletes what a script made and left when its state closes;
# - new_local and the call form are dropped: Lua's collector never owns a program object;
# - messages about a null self name the method as scripts call it, not its C++ name;
# - every function is registered inside TavroGuarded, which turns C++ exceptions into script
#   errors;
# - constructors accept the class's stand-in (ScriptSeal) as their class;
# - every file name a script passes (the parameters named "file") goes through TavroScriptPath,
#   which refuses files outside the game's data tree.
file(READ "${IN}" code)

string(REGEX REPLACE "\\(\\( *int\\) +tolua_tonumber\\(" "(TavroToInt(" code "${code}")
string(REGEX REPLACE "\\(\\( *float\\) +tolua_tonumber\\(" "(TavroToFloat(" code "${code}")
string(REPLACE "Mtolua_delete(self)" "TavroScriptDelete(tolua_S,self)" code "${code}")
string(REPLACE "Mtolua_new(" "TavroTrackNew(tolua_S,new " code "${code}")
string(REGEX REPLACE "[ \t]*tolua_function\\(tolua_S,\"(new_local|\\.call)\",[^\n]*\n" "" code "${code}")
string(REGEX REPLACE "tolua_function\\(tolua_S,(\"[^\"]+\"),([A-Za-z_0-9]+)\\);" "tolua_function(tolua_S,\\1,TavroGuarded<\\2>);" code "${code}")
string(REGEX REPLACE "tolua_isusertable\\(tolua_S,1,(\"[A-Za-z_0-9]+\"),0,&tolua_err\\)" "TavroIsClass(tolua_S,1,\\1,&tolua_err)" code "${code}")
string(REGEX REPLACE "const char\\* file = \\(\\(const char\\*\\) +tolua_tostring\\(" "const char* file = TavroScriptPath(tolua_S,tolua_tostring(" code "${code}")

file(STRINGS "${PKG}" renames REGEX "[A-Za-z_0-9]+ *@ *[A-Za-z_0-9]+")
foreach(line IN LISTS renames)
  string(REGEX MATCH "([A-Za-z_0-9]+) *@ *([A-Za-z_0-9]+)" pair "${line}")
  string(REPLACE "in function '${CMAKE_MATCH_1}'" "in function '${CMAKE_MATCH_2}'" code "${code}")
endforeach()

foreach(left IN ITEMS "tolua_isusertable\\(" "char\\* file = \\(\\(const" "int\\) *tolua_tonumber" "float\\) *tolua_tonumber" "Mtolua_delete\\(" "Mtolua_new\\(" "\"new_local\"" "tolua_function\\(tolua_S,\"[^\"]+\",tolua_")
  if(code MATCHES "${left}")
    message(FATAL_ERROR "FixBinding: '${left}' left in ${IN}; the generator's output changed")
  endif()
endforeach()

file(WRITE "${OUT}" "${code}")
