#include "formmain.h"
void TFormMain::OpenHDFFile1Click() {}
void TFormMain::OpenPhysicalDevice1Click() {}
void TFormMain::Scanallcompatibledevices1Click() {}
void TFormMain::Selectallfiles1Click() {}
void TFormMain::Invertselection1Click() {}
void TFormMain::Showpartitiontable1Click() {}
void TFormMain::Search1Click() {}
void TFormMain::SortPartitionTree1Click() {}
void TFormMain::OpenMedium(const QString&) {}
void TFormMain::TreeViewChange() {}
void TFormMain::FillFileList() {}
bool TFormMain::ListShowsPartitions() const { return false; }
void TFormMain::ListViewSelectItem() {}
void TFormMain::ListViewColumnClick(int) {}
int TFormMain::ListViewCompare(int, int) const { return 0; }
void TFormMain::ListViewKeyUp(int, Qt::KeyboardModifiers) {}
void TFormMain::ListViewDblClick() {}
std::pair<double, double> TFormMain::PartitionUsage(const QString&, const QString&) { return {}; }
void TFormMain::RunGuarded(const std::function<void()>& f) { f(); }
void TFormMain::OnTreeSelectionChanged() {}
