-- Behavioural simulation model of the packet_mac IP. Ports follow the component file;
-- the generated wrapper instantiates this entity. The controller itself is installed
-- separately; the model stands in for it with its line looped back: every frame written
-- to the transmit stream comes out of the receive stream as it went in, followed by its
-- four-byte Ethernet frame check sequence (CRC-32, least significant byte first). There
-- is no preamble, padding or inter-frame gap.
--
-- Both streams move a byte on a clock in which valid and ready are high; last marks a
-- frame's final byte. The transmit stream waits while the receive stream is not taken
-- and while the check sequence goes out.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity packet_mac_core is
    port (
        clk      : in  std_logic;
        -- synchronous, active high: drops any frame in flight
        rst      : in  std_logic;
        tx_data  : in  std_logic_vector(7 downto 0);
        tx_valid : in  std_logic;
        tx_last  : in  std_logic;
        tx_ready : out std_logic;
        rx_data  : out std_logic_vector(7 downto 0);
        rx_valid : out std_logic;
        rx_last  : out std_logic;
        rx_ready : in  std_logic
    );
end entity;

architecture rtl of packet_mac_core is
    -- The reflected form of 04C11DB7: Ethernet sends each byte least significant bit
    -- first.
    constant POLY : std_logic_vector(31 downto 0) := x"EDB88320";

    function next_crc(state : std_logic_vector(31 downto 0); data : std_logic_vector(7 downto 0))
        return std_logic_vector is
        variable r : std_logic_vector(31 downto 0) := state;
    begin
        for i in 0 to 7 loop
            if (r(0) xor data(i)) = '1' then
                r := ('0' & r(31 downto 1)) xor POLY;
            else
                r := '0' & r(31 downto 1);
            end if;
        end loop;
        return r;
    end function;

    signal crc       : std_logic_vector(31 downto 0) := (others => '1');
    -- While true, fcs_index counts the check sequence's bytes.
    signal in_fcs    : boolean := false;
    signal fcs_index : natural range 0 to 3 := 0;
    signal fcs       : std_logic_vector(31 downto 0);
    signal last_i    : std_logic;
begin
    fcs      <= not crc;
    tx_ready <= rx_ready when not in_fcs else '0';
    rx_valid <= '1' when in_fcs else tx_valid;
    rx_data  <= fcs(8 * fcs_index + 7 downto 8 * fcs_index) when in_fcs else tx_data;
    last_i   <= '1' when in_fcs and fcs_index = 3 else '0';
    rx_last  <= last_i;

    process (clk)
    begin
        if rising_edge(clk) then
            if rst = '1' then
                crc       <= (others => '1');
                in_fcs    <= false;
                fcs_index <= 0;
            elsif in_fcs then
                if rx_ready = '1' then
                    if last_i = '1' then
                        in_fcs    <= false;
                        fcs_index <= 0;
                        crc       <= (others => '1');
                    else
                        fcs_index <= fcs_index + 1;
                    end if;
                end if;
            elsif tx_valid = '1' and rx_ready = '1' then
                crc    <= next_crc(crc, tx_data);
                in_fcs <= tx_last = '1';
            end if;
        end if;
    end process;
end architecture;
