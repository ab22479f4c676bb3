// The sample project's entity classes (written for the sample).

/*QUAKED worldspawn (0 0 0) ?
The world: every brush that belongs to no other entity.
*/

/*QUAKED info_player_start (1 0 0) (-16 -16 -24) (16 16 32)
Where the player starts.
*/

/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8) START_OFF
A point light. "light" sets its brightness (default 300).
*/
