#pragma once

// The quote panel's width: whole columns of 64 pixels, one to eight.
namespace QuotePanelLayout {

constexpr int ColumnWidth = 64;
constexpr int MaxColumns = 8;

// Columns for a client width: a remainder of half a column or more counts.
int columns(int clientWidth);

} // namespace QuotePanelLayout
