#include "library/core/prompts.h"

namespace iv::library {

std::string DeleteFolderPrompt(std::string_view category) {
  return "~b~c#3E9CEAConfirm Folder Deletion ~b~n~c#000000Are you sure you want to delete icon category ~b" +
         std::string(category) +
         "~b?  Once deleted you will not be able to retrieve its buddy icons again unless you re-download it.";
}

std::string DeleteIconPrompt(std::string_view row, std::string_view category) {
  return "~b~c#3E9CEAConfirm Icon File Deletion ~b~c#000000~nAre you sure you want to delete the buddy icon "
         "~b~i~c#FF0000" +
         std::string(row) + "~b~i~c#000000 from category \"~b" + std::string(category) +
         "~b\"?  Once deleted you will not be able to retrieve it again.";
}

}  // namespace iv::library
