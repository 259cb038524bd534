' Hands every appointment of the default calendar over the way an administrator would:
' append one blank to the subject of each appointment of the chosen busy states, and save.
Option Explicit

Const olFolderCalendar = 9
Const olAppointment = 26

Dim outlook, calendar, item, touched, started, elapsed
Set outlook = CreateObject("Outlook.Application")
Set calendar = outlook.GetNamespace("MAPI").GetDefaultFolder(olFolderCalendar)

touched = 0
started = Timer
For Each item In calendar.Items
  If item.Class = olAppointment Then
    Select Case item.BusyStatus
      Case 0, 1, 2, 3 ' free, tentative, busy, out of office
        item.Subject = item.Subject & " "
        item.Save
        touched = touched + 1
    End Select
  End If
Next
elapsed = Timer - started
If elapsed < 0 Then elapsed = elapsed + 86400 ' past midnight
WScript.Echo "touched=" & touched & " seconds=" & Replace(CStr(elapsed), ",", ".")
