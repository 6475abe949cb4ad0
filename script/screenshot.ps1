# Saves a picture of the whole desktop, for a Windows test run that failed:
#   powershell -File script/screenshot.ps1 desktop.png
param([string]$Path = "desktop.png")
Add-Type -AssemblyName System.Windows.Forms, System.Drawing
$screen = [System.Windows.Forms.SystemInformation]::VirtualScreen
$picture = New-Object System.Drawing.Bitmap $screen.Width, $screen.Height
$graphics = [System.Drawing.Graphics]::FromImage($picture)
$graphics.CopyFromScreen($screen.Location, [System.Drawing.Point]::Empty, $screen.Size)
$picture.Save($ExecutionContext.SessionState.Path.GetUnresolvedProviderPathFromPSPath($Path), [System.Drawing.Imaging.ImageFormat]::Png)
