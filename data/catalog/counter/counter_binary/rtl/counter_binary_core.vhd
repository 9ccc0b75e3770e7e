-- Binary counter core of the counter_binary IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter_binary_core is
    generic (
        WIDTH     : positive range 1 to 64 := 16;
        -- "up", "down" or "up_down" (then the up input chooses, '1' counting up)
        DIRECTION : string                 := "up";
        -- 1: load takes l into the counter on the next clock edge; 0: load is ignored
        SYNC_LOAD : natural range 0 to 1   := 0;
        -- thresh0 is high while q equals this value (never, if q cannot hold it); a
        -- 64-bit vector because the threshold's range exceeds VHDL's integer
        THRESHOLD : std_logic_vector(63 downto 0) := x"00000000000000FF"
    );
    port (
        clk     : in  std_logic;
        ce      : in  std_logic;
        sclr    : in  std_logic;
        load    : in  std_logic;
        up      : in  std_logic;
        l       : in  std_logic_vector(WIDTH - 1 downto 0);
        q       : out std_logic_vector(WIDTH - 1 downto 0);
        thresh0 : out std_logic
    );
end entity;

architecture rtl of counter_binary_core is
    signal count    : unsigned(WIDTH - 1 downto 0) := (others => '0');
    signal count_up : boolean;
begin
    assert DIRECTION = "up" or DIRECTION = "down" or DIRECTION = "up_down"
        report "counter_binary_core: DIRECTION must be up, down or up_down" severity failure;

    count_up <= DIRECTION = "up" or (DIRECTION = "up_down" and up = '1');

    process (clk)
    begin
        if rising_edge(clk) then
            -- Clear wins over load, load over counting; ce gates all but the clear.
            if sclr = '1' then
                count <= (others => '0');
            elsif ce = '1' then
                if SYNC_LOAD /= 0 and load = '1' then
                    count <= unsigned(l);
                elsif count_up then
                    count <= count + 1;
                else
                    count <= count - 1;
                end if;
            end if;
        end if;
    end process;

    q       <= std_logic_vector(count);
    thresh0 <= '1' when resize(count, 64) = unsigned(THRESHOLD) else '0';
end architecture;
